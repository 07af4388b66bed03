#pragma once
// Lo que toda ventana hija necesita del área de trabajo: que se abra donde se
// ve. El área se desplaza para lo que no cabe, pero una ventana nueva no debe
// empezar medio fuera (en un proyector de 1024 × 768 su botón «Guardar»
// quedaría sin alcance).

class QMdiSubWindow;

class TAreaTrabajo {
public:
  // Mueve la ventana lo justo para que quede dentro de la parte visible de su
  // área: entera si cabe, y si no, con su esquina superior izquierda a la
  // vista. Sin área (aún sin añadir), maximizada o minimizada no hace nada.
  static void ponerAlAlcance(QMdiSubWindow& ventana);
};
