#pragma once
// Iconos de Orvex, dibujados aquí con QPainter: no dependen del tema del
// escritorio ni de ficheros externos, así que siempre existen.

#include <QIcon>

namespace TIconos {
QIcon programa();
QIcon abrir();
QIcon bloquesBasicos();
QIcon codigoSecuencial();
QIcon confSuper();
QIcon confVLIW();
QIcon falloCache();
QIcon iniciar();
QIcon paso();
QIcon pausa();
QIcon parar();
QIcon retroceder();
QIcon irACiclo();
QIcon hastaElFinal();
QIcon memoria();
QIcon registrosGPR();
QIcon registrosFPR();
QIcon ayuda();
}  // namespace TIconos
