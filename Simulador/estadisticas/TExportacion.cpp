#include "Simulador/estadisticas/TExportacion.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>

#include "Simulador/aplicacion/TServicioDialogos.h"
#include "machine/TEscrituraSegura.h"

bool TExportacion::escribir(TServicioDialogos& dialogos, QWidget* padre, const QString& ruta, const QByteArray& bytes) {
  TEscrituraSegura escritura;
  if (escritura.escribir(QFile::encodeName(ruta).toStdString(), bytes.toStdString()) == ESCRITURA_OK) return true;
  dialogos.mensaje(padre, QStringLiteral("No se pudo guardar el fichero"),
                   ruta + QLatin1Char('\n') + QString::fromStdString(escritura.motivo));
  return false;
}

bool TExportacion::guardarCSV(TServicioDialogos& dialogos, QWidget* padre, const QString& contenido) {
  const QString ruta = dialogos.guardarFichero(padre, QString::fromUtf8(FILTRO_CSV), QStringLiteral("csv"));
  if (ruta.isEmpty()) return false;
  return escribir(dialogos, padre, ruta, contenido.toUtf8());
}

bool TExportacion::guardarPNG(TServicioDialogos& dialogos, QWidget* padre, QWidget& vista) {
  const QString ruta = dialogos.guardarFichero(padre, QString::fromUtf8(FILTRO_PNG), QStringLiteral("png"));
  if (ruta.isEmpty()) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  vista.grab().save(&buffer, "PNG");
  return escribir(dialogos, padre, ruta, bytes);
}

void TExportacion::copiar(const QString& texto) {
  if (QClipboard* portapapeles = QGuiApplication::clipboard()) portapapeles->setText(texto);
}
