#include "observation/TTextosDiagrama.h"

namespace {

std::string nombreTipo(int32_t tipo) {
  if (tipo == TIPO_UNIDAD_DIRECCIONES) return "cálculo de direcciones";
  if (tipo < 0 || tipo >= NUM_TIPOS_UF) return "?";
  return nombresTipoUF[static_cast<size_t>(tipo)];
}

std::string antes(int32_t distancia) {
  if (distancia <= 0) return "";
  if (distancia == 1) return ", la fila anterior";
  return ", " + std::to_string(distancia) + " filas antes";
}

}  // namespace

std::string TTextosDiagrama::etapa(char letra, TClaseFila clase) {
  const bool op = clase == filaOperacion;
  switch (letra) {
    case LETRA_PREFETCH: return "En la cola de prefetch";
    case LETRA_DECODIFICADOR: return "En la cola del decodificador";
    case LETRA_ESTACION: return "Emitida, en la estación de reserva";
    case LETRA_DIRECCION: return "Calculando la dirección";
    case LETRA_EJECUCION: return op ? "En su unidad funcional" : "Ejecutándose";
    case LETRA_FALLO: return "Fallo de caché: esperando a la memoria";
    case LETRA_ESCRITA: return op ? "Ejecutada: resultado escrito" : "Resultado escrito, por confirmar";
    case LETRA_CONFIRMADA: return "Confirmada";
    case LETRA_ANULADA: return op ? "Descartada: su predicado de guarda es falso" : "Anulada por un fallo de predicción";
    case LETRA_DETENIDA: return "Detenida en el punto de emisión";
    case LETRA_EMITIDA: return "Emitida";
    default: return "";
  }
}

std::string TTextosDiagrama::motivo(const TEspera& e, int32_t distancia) {
  const std::string etiqueta = "etiqueta " + std::to_string(e.dato) + " del ROB";
  switch (e.motivo) {
    case espNinguno: return "";
    case espROBLleno: return "El reorder buffer está lleno";
    case espEstacionLlena: return "La estación de reserva de " + nombreTipo(e.tipo) + " está llena";
    case espEmisionEnOrden: return "Emisión en orden: una instrucción anterior no se ha podido emitir";
    case espDecodificadorLleno: return "La cola del decodificador está llena";
    case espDecodificadorVacio: return "No queda nada que emitir";
    case espOperandoJ: return "Espera el operando j (" + etiqueta + antes(distancia) + ")";
    case espOperandoK: return "Espera el operando k (" + etiqueta + antes(distancia) + ")";
    case espSinUnidadLibre: return "Ninguna unidad de " + nombreTipo(e.tipo) + " libre";
    case espAlmacenamientoSinDireccion:
      return "Un almacenamiento anterior aún no tiene dirección (" + etiqueta + antes(distancia) + ")";
    case espAlmacenamientoMismaDireccion:
      return "Un almacenamiento anterior escribe en la misma dirección (" + etiqueta + antes(distancia) + ")";
    case espFalloCache: return "Fallo de caché en la palabra " + std::to_string(e.dato);
    case espConfirmacionEnOrden: return "Espera a confirmarse en orden: hay una instrucción anterior sin confirmar";
    case espNaT:
      return std::string("El registro ") + (e.tipo == 1 ? "F" : "R") + std::to_string(e.dato) +
             " tiene el bit NaT puesto: espera el resultado de una carga";
    case espUnidadOcupada: return "La unidad " + unidad(e.tipo, e.dato) + " está ocupada";
  }
  return "";
}

std::string TTextosDiagrama::pista(const TTramoVisible& t, TClaseFila clase) {
  std::string p = etapa(t.letra, clase);
  const std::string m = motivo(t.espera, t.distancia);
  if (!m.empty()) p += ". " + m;
  return p;
}

TColor TTextosDiagrama::color(char letra) {
  switch (letra) {
    case LETRA_PREFETCH: return colorRGB(214, 228, 245);
    case LETRA_DECODIFICADOR: return colorRGB(176, 204, 240);
    case LETRA_ESTACION: return colorRGB(250, 226, 150);
    case LETRA_DIRECCION: return colorRGB(200, 235, 190);
    case LETRA_EJECUCION: return colorRGB(130, 205, 120);
    case LETRA_FALLO: return colorRGB(240, 140, 120);
    case LETRA_ESCRITA: return colorRGB(190, 175, 230);
    case LETRA_CONFIRMADA: return colorRGB(110, 150, 220);
    case LETRA_ANULADA: return colorRGB(200, 200, 200);
    case LETRA_DETENIDA: return colorRGB(250, 200, 120);
    case LETRA_EMITIDA: return colorRGB(120, 190, 230);
    default: return colorRGB(255, 255, 255);
  }
}

std::string TTextosDiagrama::unidad(int32_t tipo, int32_t numero) {
  if (tipo == TIPO_UNIDAD_DIRECCIONES) return "de direcciones " + std::to_string(numero);
  return nombreTipo(tipo) + " " + std::to_string(numero);
}
