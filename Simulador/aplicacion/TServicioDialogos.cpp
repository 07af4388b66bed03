#include "Simulador/aplicacion/TServicioDialogos.h"

#include <QDialog>
#include <QStringList>

int resultadoModal(int resultadoQt) {
  return resultadoQt == QDialog::Accepted ? RESULTADO_ACEPTAR : RESULTADO_CANCELAR;
}

QString filtroQt(const QString& filtro) {
  const QStringList partes = filtro.split(QLatin1Char('|'));
  QStringList salida;
  for (int i = 0; i + 1 < partes.size(); i += 2) {
    QString patrones = partes[i + 1];
    patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
    salida << partes[i] + QStringLiteral(" (") + patrones + QLatin1Char(')');
  }
  return salida.join(QStringLiteral(";;"));
}
