#include "Simulador/aplicacion/TServicioDialogosQt.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "Simulador/comunes/TSpinNumero.h"
#include "Simulador/dialogos/TdlgCantidad.h"
#include "Simulador/dialogos/TdlgGuardarCambio.h"

namespace {
const QString TITULO = QStringLiteral("Orvex");
}

void TServicioDialogosQt::mensaje(QWidget* padre, const QString& texto, const QString& detalle) {
  QMessageBox caja(QMessageBox::Information, TITULO, texto, QMessageBox::Ok, padre);
  if (!detalle.isEmpty()) caja.setInformativeText(detalle);
  caja.exec();
}

bool TServicioDialogosQt::confirmar(QWidget* padre, const QString& pregunta) {
  QMessageBox caja(QMessageBox::Question, TITULO, pregunta, QMessageBox::Yes | QMessageBox::No, padre);
  caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
  caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
  caja.setDefaultButton(QMessageBox::Yes);
  return caja.exec() == QMessageBox::Yes;
}

TRespuestaCambios TServicioDialogosQt::preguntarCambios(QWidget* padre, const QString& pregunta,
                                                        const QString& guardar, const QString& descartar) {
  QMessageBox caja(QMessageBox::Question, TITULO, pregunta, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                   padre);
  caja.button(QMessageBox::Save)->setText(guardar);
  caja.button(QMessageBox::Discard)->setText(descartar);
  caja.button(QMessageBox::Cancel)->setText(QStringLiteral("&Cancelar"));
  caja.setDefaultButton(QMessageBox::Save);
  // Escape y la caja de cerrar: lo que no pierde nada.
  caja.setEscapeButton(QMessageBox::Cancel);
  caja.exec();
  if (caja.clickedButton() == caja.button(QMessageBox::Save)) return TRespuestaCambios::guardar;
  if (caja.clickedButton() == caja.button(QMessageBox::Discard)) return TRespuestaCambios::descartar;
  return TRespuestaCambios::cancelar;
}

QString TServicioDialogosQt::abrirFichero(QWidget* padre, const QString& filtro, const QString& carpeta) {
  return QFileDialog::getOpenFileName(padre, QStringLiteral("Abrir"), carpeta, filtroQt(filtro));
}

QString TServicioDialogosQt::guardarFichero(QWidget* padre, const QString& filtro, const QString& sufijo,
                                            const QString& carpeta) {
  QFileDialog dialogo(padre, QStringLiteral("Guardar como"), carpeta, filtroQt(filtro));
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setDefaultSuffix(sufijo);
  // El diálogo propio de Qt añade el sufijo antes de pedir confirmación para
  // sobrescribir, así que pregunta por el nombre que de verdad se escribe; uno
  // nativo preguntaría por el nombre sin sufijo.
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return QString();
  return dialogo.selectedFiles().constFirst();
}

std::optional<QColor> TServicioDialogosQt::elegirColor(QWidget* padre, const QColor& inicial) {
  const QColor color = QColorDialog::getColor(inicial, padre, QStringLiteral("Color"));
  if (!color.isValid()) return std::nullopt;
  return color;
}

int TServicioDialogosQt::pedirCantidad(QWidget* padre, const QString& titulo, const QString& texto, int valor,
                                       int minimo, int maximo, int& cantidad) {
  TdlgCantidad dialogo(padre);
  const int resultado = dialogo.preguntar(titulo, texto, valor, minimo, maximo);
  if (resultado == RESULTADO_ACEPTAR) cantidad = dialogo.spiCantidad->value();
  return resultado;
}

int TServicioDialogosQt::preguntarGuardarCambio(QWidget* padre) {
  TdlgGuardarCambio dialogo(padre);
  return ejecutarModal(dialogo);
}

int TServicioDialogosQt::ejecutarModal(QDialog& dialogo) { return resultadoModal(dialogo.exec()); }
