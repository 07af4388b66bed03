#include "machine/TEscrituraSegura.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Las causas que un alumno puede encontrarse, dichas en su idioma.
std::string causa(int e) {
  switch (e) {
    case ENOENT: return "la carpeta no existe";
    case EACCES:
    case EPERM: return "permiso denegado";
    case ENOSPC: return "no queda espacio en el disco";
    case EDQUOT: return "cuota de disco agotada";
    case EROFS: return "sistema de ficheros de solo lectura";
    case EISDIR: return "el destino es una carpeta";
    case ENOTDIR: return "una parte de la ruta no es una carpeta";
    case ENAMETOOLONG: return "nombre demasiado largo";
    case EIO: return "error de entrada/salida";
    default: return std::strerror(e);
  }
}

// Para las llamadas cuyo fallo no cambia nada: el aviso de resultado sin usar
// no se calla con un (void).
void sinImportar(int) {}

// El fichero al que de verdad hay que escribir: el destino de un enlace
// simbólico, para que el renombrado no sustituya el enlace por un fichero.
std::string destinoReal(const std::string& ruta) {
  struct stat st {};
  if (lstat(ruta.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return ruta;
  char real[PATH_MAX];
  if (realpath(ruta.c_str(), real) == nullptr) return ruta;
  return real;
}

// Vacía la entrada de la carpeta a disco: sin esto, tras un corte de luz el
// renombrado podría no constar aunque el contenido sí. Si no se puede, el
// fichero ya está escrito y renombrado: no es un fallo de la escritura.
void vaciarCarpeta(const std::string& carpeta) {
  const int fd = open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  sinImportar(fsync(fd));
  close(fd);
}

}  // namespace

int32_t TEscrituraSegura::escribir(const std::string& ruta, const std::string& contenido) {
  motivo.clear();
  if (ruta.empty()) {
    motivo = "no se ha dado el nombre del fichero";
    return ESCRITURA_NO_CREA;
  }
  const std::string destino = destinoReal(ruta);
  // Solo se sustituyen ficheros normales: el renombrado cambiaría una carpeta,
  // un dispositivo (/dev/full, con permisos de root) o una tubería por un fichero.
  struct stat previo {};
  if (stat(destino.c_str(), &previo) == 0 && !S_ISREG(previo.st_mode)) {
    motivo = "no se puede sustituir " + destino + ": " +
             (S_ISDIR(previo.st_mode) ? causa(EISDIR) : std::string("no es un fichero normal"));
    return ESCRITURA_NO_RENOMBRA;
  }
  const size_t barra = destino.find_last_of('/');
  const std::string carpeta = barra == std::string::npos ? "." : barra == 0 ? "/" : destino.substr(0, barra);
  const std::string nombre = barra == std::string::npos ? destino : destino.substr(barra + 1);

  // Oculto y con el nombre del destino: si algo lo dejara atrás, se sabe de dónde viene.
  std::string plantilla = carpeta + "/." + nombre.substr(0, 200) + ".XXXXXX";
  std::vector<char> temporal(plantilla.begin(), plantilla.end());
  temporal.push_back('\0');

  int e = fallo(pasoCrear);
  const int fd = e != 0 ? -1 : mkstemp(temporal.data());
  if (fd < 0) {
    if (e == 0) e = errno;
    motivo = "no se puede crear un fichero en " + carpeta + ": " + causa(e);
    return ESCRITURA_NO_CREA;
  }

  // mkstemp crea el fichero solo para su dueño: se le dan los permisos del
  // fichero al que sustituye, o los de un fichero nuevo.
  struct stat st {};
  if (stat(destino.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    sinImportar(fchown(fd, st.st_uid, st.st_gid));
    sinImportar(fchmod(fd, st.st_mode & 07777));
  } else {
    const mode_t mascara = umask(0);
    umask(mascara);
    sinImportar(fchmod(fd, 0666 & ~mascara));
  }

  auto abandonar = [&](int32_t resultado, const std::string& que, int error, bool cerrar) {
    if (cerrar) close(fd);
    unlink(temporal.data());
    motivo = que + ": " + causa(error);
    return resultado;
  };

  const size_t bloque = std::max<size_t>(tamBloque, 1);
  for (size_t hecho = 0; hecho < contenido.size();) {
    if ((e = fallo(pasoEscribir)) != 0) return abandonar(ESCRITURA_FALLA, "fallo al escribir", e, true);
    const ssize_t n = write(fd, contenido.data() + hecho, std::min(bloque, contenido.size() - hecho));
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandonar(ESCRITURA_FALLA, "fallo al escribir", errno, true);
    }
    hecho += static_cast<size_t>(n);
  }
  if ((e = fallo(pasoVaciar)) != 0 || fsync(fd) != 0)
    return abandonar(ESCRITURA_FALLA, "fallo al vaciar el fichero a disco", e != 0 ? e : errno, true);
  // Algunos sistemas de ficheros en red solo informan del fallo al cerrar.
  if ((e = fallo(pasoCerrar)) != 0) return abandonar(ESCRITURA_FALLA, "fallo al cerrar el fichero", e, true);
  if (close(fd) != 0) return abandonar(ESCRITURA_FALLA, "fallo al cerrar el fichero", errno, false);
  if ((e = fallo(pasoRenombrar)) != 0 || rename(temporal.data(), destino.c_str()) != 0)
    return abandonar(ESCRITURA_NO_RENOMBRA, "no se puede sustituir " + destino, e != 0 ? e : errno, false);
  vaciarCarpeta(carpeta);
  return ESCRITURA_OK;
}
