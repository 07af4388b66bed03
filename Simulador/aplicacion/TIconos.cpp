#include "Simulador/aplicacion/TIconos.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

// Cada icono se dibuja en un lienzo lógico de 32 × 32 y se escala a los
// tamaños que piden menús y barras.
QIcon dibujar(const std::function<void(QPainter&)>& pintor) {
  QIcon icono;
  for (int lado : {16, 22, 24, 32, 48, 64}) {
    QPixmap pixmap(lado, lado);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 32.0, lado / 32.0);
    pintor(p);
    p.end();
    icono.addPixmap(pixmap);
  }
  return icono;
}

const QColor AZUL(40, 90, 170);
const QColor VERDE(30, 150, 60);
const QColor ROJO(200, 40, 40);
const QColor AMBAR(225, 160, 20);
const QColor GRIS(70, 70, 70);

void engranaje(QPainter& p, QPointF centro, double radio, const QColor& color) {
  p.save();
  p.translate(centro);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  for (int i = 0; i < 8; ++i) {
    p.drawRect(QRectF(-radio * 0.18, -radio * 1.15, radio * 0.36, radio * 0.5));
    p.rotate(45);
  }
  p.drawEllipse(QPointF(0, 0), radio * 0.8, radio * 0.8);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(0, 0), radio * 0.32, radio * 0.32);
  p.restore();
}

void letra(QPainter& p, const QRectF& caja, const QString& texto, const QColor& color, int puntos) {
  QFont fuente(QStringLiteral("DejaVu Sans"));
  fuente.setPixelSize(puntos);
  fuente.setBold(true);
  p.setFont(fuente);
  p.setPen(color);
  p.drawText(caja, Qt::AlignCenter, texto);
}

// Rejilla de celdas: registros o memoria.
void celdas(QPainter& p, const QColor& color, const QString& rotulo) {
  p.setPen(QPen(GRIS, 1.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5, 3, 22, 26));
  p.setPen(QPen(color, 1.5));
  for (int i = 1; i < 5; ++i) p.drawLine(QPointF(5, 3 + i * 5.2), QPointF(27, 3 + i * 5.2));
  p.fillRect(QRectF(6, 4, 21, 4.4), color);
  letra(p, QRectF(0, 8, 32, 22), rotulo, GRIS, 12);
}

}  // namespace

namespace TIconos {

QIcon programa() {
  return dibujar([](QPainter& p) {
    // Un chip con tres «rebanadas» de instrucciones en paralelo.
    p.setPen(QPen(GRIS, 1.5));
    for (int i = 0; i < 4; ++i) {
      const double x = 8 + i * 5.3;
      p.drawLine(QPointF(x, 1), QPointF(x, 5));
      p.drawLine(QPointF(x, 27), QPointF(x, 31));
      p.drawLine(QPointF(1, x), QPointF(5, x));
      p.drawLine(QPointF(27, x), QPointF(31, x));
    }
    p.setBrush(AZUL);
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 3, 3);
    const QColor colores[3] = {QColor(0, 239, 208), QColor(136, 239, 68), QColor(136, 208, 239)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
      p.setBrush(colores[i]);
      p.drawRect(QRectF(8.5 + i * 5.3, 9, 4, 14));
    }
  });
}

QIcon abrir() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(QColor(150, 100, 10), 1.5));
    p.setBrush(AMBAR);
    QPainterPath carpeta;
    carpeta.moveTo(3, 8);
    carpeta.lineTo(12, 8);
    carpeta.lineTo(15, 11);
    carpeta.lineTo(28, 11);
    carpeta.lineTo(28, 27);
    carpeta.lineTo(3, 27);
    carpeta.closeSubpath();
    p.drawPath(carpeta);
    p.setBrush(QColor(250, 210, 90));
    QPainterPath tapa;
    tapa.moveTo(3, 27);
    tapa.lineTo(8, 15);
    tapa.lineTo(31, 15);
    tapa.lineTo(28, 27);
    tapa.closeSubpath();
    p.drawPath(tapa);
  });
}

QIcon bloquesBasicos() {
  return dibujar([](QPainter& p) {
    const QColor colores[3] = {QColor(0, 239, 208), QColor(136, 208, 239), QColor(68, 208, 68)};
    p.setPen(QPen(GRIS, 1));
    for (int i = 0; i < 3; ++i) {
      p.setBrush(colores[i]);
      p.drawRect(QRectF(4, 3 + i * 9, 24, 8));
    }
  });
}

QIcon codigoSecuencial() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(GRIS, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 3, 22, 26));
    p.setPen(QPen(AZUL, 2));
    const double anchos[5] = {14, 10, 16, 8, 12};
    for (int i = 0; i < 5; ++i) p.drawLine(QPointF(9, 8 + i * 4.5), QPointF(9 + anchos[i], 8 + i * 4.5));
  });
}

QIcon confSuper() {
  return dibujar([](QPainter& p) {
    engranaje(p, QPointF(13, 13), 10, GRIS);
    letra(p, QRectF(14, 14, 18, 18), QStringLiteral("S"), AZUL, 15);
  });
}

QIcon confVLIW() {
  return dibujar([](QPainter& p) {
    engranaje(p, QPointF(13, 13), 10, GRIS);
    letra(p, QRectF(14, 14, 18, 18), QStringLiteral("V"), VERDE, 15);
  });
}

QIcon falloCache() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(ROJO, 3));
    p.drawLine(QPointF(25, 5), QPointF(7, 27));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 9), 4.5, 4.5);
    p.drawEllipse(QPointF(23, 23), 4.5, 4.5);
  });
}

QIcon iniciar() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(VERDE.darker(130), 1.5));
    p.setBrush(VERDE);
    p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(27, 16), QPointF(8, 28)}));
  });
}

QIcon paso() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(AZUL.darker(130), 1.5));
    p.setBrush(AZUL);
    p.drawPolygon(QPolygonF({QPointF(5, 6), QPointF(20, 16), QPointF(5, 26)}));
    p.drawRect(QRectF(22, 6, 5, 20));
  });
}

QIcon pausa() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(AMBAR.darker(140), 1.5));
    p.setBrush(AMBAR);
    p.drawRect(QRectF(7, 5, 7, 22));
    p.drawRect(QRectF(18, 5, 7, 22));
  });
}

// Paso a paso al revés: la barra delante del triángulo que vuelve.
QIcon retroceder() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(AZUL.darker(130), 1.5));
    p.setBrush(AZUL);
    p.drawRect(QRectF(5, 6, 5, 20));
    p.drawPolygon(QPolygonF({QPointF(27, 6), QPointF(12, 16), QPointF(27, 26)}));
  });
}

// Una regla de ciclos con la marca del elegido.
QIcon irACiclo() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(GRIS, 1.5));
    p.drawLine(QPointF(3, 24), QPointF(29, 24));
    for (int i = 0; i < 6; ++i) p.drawLine(QPointF(4 + i * 4.8, 21), QPointF(4 + i * 4.8, 27));
    p.setPen(QPen(AZUL.darker(130), 1.5));
    p.setBrush(AZUL);
    p.drawPolygon(QPolygonF({QPointF(12, 4), QPointF(24, 4), QPointF(18, 17)}));
  });
}

// Dos triángulos hasta la barra del final.
QIcon hastaElFinal() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(VERDE.darker(130), 1.5));
    p.setBrush(VERDE);
    p.drawPolygon(QPolygonF({QPointF(3, 6), QPointF(14, 16), QPointF(3, 26)}));
    p.drawPolygon(QPolygonF({QPointF(13, 6), QPointF(24, 16), QPointF(13, 26)}));
    p.drawRect(QRectF(25, 6, 4, 20));
  });
}

QIcon parar() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(ROJO.darker(130), 1.5));
    p.setBrush(ROJO);
    p.drawRoundedRect(QRectF(6, 6, 20, 20), 2, 2);
  });
}

QIcon memoria() {
  return dibujar([](QPainter& p) { celdas(p, AMBAR, QStringLiteral("M")); });
}
QIcon registrosGPR() {
  return dibujar([](QPainter& p) { celdas(p, AZUL, QStringLiteral("R")); });
}
QIcon registrosFPR() {
  return dibujar([](QPainter& p) { celdas(p, VERDE, QStringLiteral("F")); });
}

QIcon ayuda() {
  return dibujar([](QPainter& p) {
    p.setPen(QPen(AZUL.darker(130), 1.5));
    p.setBrush(AZUL);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    letra(p, QRectF(0, 0, 32, 32), QStringLiteral("?"), Qt::white, 20);
  });
}

}  // namespace TIconos
