"""The help texts of Vantel in Spanish, for the web page: successions.txt and
infogeneral.txt of make_help.py, translated. Keep them in step with the Catalan
texts there. The engine's messages are quoted as the page shows them in Spanish;
the Windows program's own labels (An:, Calcula, Prou!, the menu) stay Catalan."""

SUCCESSIONS = """\
INTRODUCCIÓN A LAS SUCESIONES
=============================

Este texto explica qué calcula Vantel y cómo hay que escribir el término
general de una sucesión para que el programa lo entienda.


1. Sucesiones y series
----------------------

Una sucesión es una lista infinita de números en un orden fijo:

    a1, a2, a3, a4, ...

El número que ocupa el lugar n es el término enésimo, an. A menudo la
sucesión se da con una fórmula, el término general a(n). Por ejemplo,
con a(n) = 1/n los términos son 1, 1/2, 1/3, 1/4, ...

Una serie es la suma de los términos de una sucesión. Las sumas
parciales son

    Sn = a1 + a2 + ... + an

es decir, S1 = a1, S2 = a1 + a2, S3 = a1 + a2 + a3, ... Si las sumas
parciales se acercan a un número cuando n crece, la serie es convergente
y ese número es su suma. Con a(n) = 1/2^n, por ejemplo, las sumas
parciales son 0.5, 0.75, 0.875, ... y se acercan a 1 (S10 = 0.9990234375).
Con a(n) = 1/n, en cambio, las sumas parciales crecen sin límite, aunque
muy poco a poco.

Vantel también calcula los productos parciales

    Pn = a1 × a2 × ... × an

Con a(n) = n, por ejemplo, Pn es n! (el factorial de n): P4 = 24.

Para una fórmula y un valor de n, el programa muestra:

    an =   el término enésimo
    Sn =   la suma de los n primeros términos
    Pn =   el producto de los n primeros términos

Ejemplo: con la fórmula 1/n y n = 3 sale

    an = 0.33333333333333331
    Sn = 1.8333333333333333
    Pn = 0.16666666666666666

(por qué sobran cifras al final, en el apartado 6).


2. Cómo se escribe una fórmula
------------------------------

La fórmula del término general se escribe en el campo "An:" y puede
tener:

  - números: 2   0.5   .5   5.   y también con exponente: 2.5E3
    (= 2500), 1e-5 (= 0.00001). El separador decimal es el punto:
    escribe 2.5, no 2,5 (la coma no es válida);
  - la variable n (o N);
  - las operaciones

        +   suma                 -   resta, o signo menos
        *   producto             /   división
        ^   potencia             !   factorial, detrás: n!

  - paréntesis ( ) para agrupar, tantos como haga falta.

Normas importantes:

  - No puede haber ningún espacio en blanco, tampoco al principio ni al
    final.
  - El signo de multiplicar no se puede omitir: escribe 2*n, no 2n;
    2*(n+1), no 2(n+1); (n+1)*(n-1), no (n+1)(n-1).
  - No hay funciones ni constantes: no se puede escribir sqrt, sin,
    pi... Una raíz se escribe como una potencia: n^0.5 o n^(1/2) es la
    raíz cuadrada de n. Para el número pi escribe 3.14159265358979.
  - Detrás de una operación puede venir un signo menos (2*-3, n^-2),
    pero no un signo más (2*+3 es un error).
  - No uses otras letras (x, a, k...): el programa no las rechaza, pero
    valen 0 y el resultado no tiene sentido. Las letras E y e solo
    sirven para el exponente de un número, como en 2.5E3.

Ejemplos de fórmulas bien escritas:

    1/n        2^n/n!        (-1)^n/n        3+2*(n-1)        5*0.5^n
    n^2        1/n^2         (n+1)/(2*n)     (1+1/n)^n        n!/n^n


3. En qué orden se hacen las operaciones
----------------------------------------

Primero se calcula lo que hay dentro de los paréntesis. Después, de lo
que liga más fuerte a lo que liga menos:

  1. el signo menos de un número (al principio de la fórmula o justo
     detrás de otra operación);
  2. el factorial  !
  3. la potencia   ^
  4. el producto * y la división /
  5. la suma + y la resta -

Las operaciones del mismo nivel se hacen de izquierda a derecha, también
las potencias. Fíjate sobre todo en las potencias y en el signo menos,
que esta calculadora no trata como es costumbre en clase:

    fórmula     se calcula como   resultado
    2+3*4       2+(3*4)           14
    8-2-1       (8-2)-1           5
    8/2/2       (8/2)/2           2
    2^3^2       (2^3)^2           64   (no 2^(3^2) = 512)
    -2^2        (-2)^2            4    (no -(2^2) = -4)
    2^3!        2^(3!)            64
    -3!         (-3)!             error de factorial
    2*-3        2*(-3)            -6
    2^-1        2^(-1)            0.5
    1/2^n       1/(2^n)
    2^n/n!      (2^n)/(n!)

Si quieres lo contrario, pon paréntesis: 2^(3^2) vale 512, -(2^2) vale
-4 y -(3!) vale -6. Para el término -n^2 de clase, es decir -(n^2),
escribe -(n^2). Para (-1)^n puedes escribir (-1)^n.

El factorial de un número no entero se redondea al entero más cercano
antes de calcularlo: 2.7! vale 3! = 6.


4. Errores en la fórmula
------------------------

Cuando pulsas Calcula, el programa revisa la fórmula. Si encuentra un
fallo, sale un mensaje: el título dice qué error es y el texto muestra
la fórmula hasta el punto donde se ha encontrado, marcado con "?" o con
" : ". Corrige la fórmula. Una fórmula con errores no se calcula y no
se añade a la lista.

Error: carácter no válido
    La fórmula tiene un carácter que no se puede usar: un espacio, una
    coma, una letra acentuada, #, =, [ ... El texto muestra la fórmula
    hasta el carácter malo, " : " y el carácter mismo.
    Ejemplos: 3#4 da "3# : #" y 2,5 da "2, : ,". Si el carácter es un
    espacio, al final del texto no se ve nada.

Error: Falta operador
    Falta un signo de operación entre dos cosas. El texto muestra la
    fórmula hasta donde debería ir el operador, un "?" y el carácter
    que viene después.
    Ejemplos: 2n da "2?n" (escribe 2*n); n2 da "n?2";
    (n+1)(n-1) da "(n+1)?(".

Error: Falta operando
    Falta un número, la n o un paréntesis.
    La fórmula no puede empezar con * / ^ ! ni ): *n da "? *n".
    No puede acabar con + - * / ^ ni (: n+ da "n+ ?".
    No puede haber dos operaciones seguidas (salvo un signo menos) ni
    una operación justo después de ( o justo antes de ):
    2*/3 da "2*?/" y () da "(?)".

Error:   (con el texto  "("  >  ")"   o bien   "("  <  ")"  )
    Los paréntesis no cuadran. ">" quiere decir que hay más paréntesis
    de abrir que de cerrar, como en (n+1; "<" quiere decir que hay más
    de cerrar que de abrir, como en n+1).

Si el campo de la fórmula está vacío o solo tiene espacios, no pasa
nada: el programa no calcula nada y no muestra ningún mensaje.


5. Errores en el cálculo
------------------------

Si n no es bueno, sale un mensaje con el título "* error *" y el texto
"només nombres naturals (enters positius)" (solo números naturales,
enteros positivos). n tiene que ser un entero de 1 a 65535: el 0, los
números negativos, los números con decimales (2.5), las letras y un
campo con solo espacios no sirven. Si el campo n: está vacío, el
programa pone 1.

Cuando un cálculo no se puede hacer, el cuadro del resultado muestra el
texto del error en lugar de un número. Sn y Pn se detienen en el primer
término que falla: con la fórmula 1/(n-2) y n = 3, an vale 1, pero Sn y
Pn muestran "División por cero" porque el término a2 es 1/0. Los otros
cuadros se calculan igualmente.

División por cero
    Un término divide por 0, como 1/(n-3) para n = 3, o es 0 elevado a
    un exponente negativo, como 0^-1. También sale cuando un producto o
    una potencia es tan grande que el ordenador no lo puede calcular.

* Error de factorial (n!)*   n debe estar en el intervalo [0,170]
    El factorial solo se puede calcular de 0 a 170 (171! ya pasa de
    1E+308). Recuerda que -3! quiere decir (-3)! y da este error.

Potencia de base negativa y exponente no entero
    Como (-8)^(1/3) o (-2)^0.5: estas potencias no tienen un valor
    real. Un exponente entero sí va bien: (-2)^3 vale -8.

Desbordamiento
    El resultado pasaría de 1E+308, el número más grande que el
    programa acepta. Por ejemplo 10^400, o Pn de la fórmula n! a partir
    de n = 27.


6. Cómo se muestran los resultados
----------------------------------

Los resultados salen con hasta 17 cifras significativas. El ordenador
guarda los números en binario y no puede guardar exactamente 0.1 o 1/3;
por eso las últimas cifras pueden parecer extrañas: 0.1 se muestra
0.10000000000000001 y 1/3 se muestra 0.33333333333333331. No es un
error.

Los números muy pequeños (por debajo de 0.00001) y los muy grandes
(desde 1E+15, o desde -1E+14 si son negativos) salen en notación
científica: 1.5E-6 quiere decir 1.5 × 10^-6 = 0.0000015 y 1.E+20 quiere
decir 10^20. Desde 1E+36 salen con 17 cifras y cuatro cifras de
exponente:
 1.0000000000000000E+0036 quiere decir 10^36.


7. Límites
----------

  - n: de 1 a 65535. La barra de desplazamiento va de 1 a 170; los
    valores más grandes se escriben en el campo "n:", que en el
    programa de Windows solo admite las cifras que caben (normalmente
    cuatro). Hasta 65535 se puede dar al arrancar el programa (véase la
    ayuda General).
  - Factorial: de 0! a 170!.
  - Resultados: hasta 1E+308.
  - Fórmula: hasta 254 caracteres.
  - Para n grandes, Sn y Pn pueden tardar un poco: el programa calcula
    los n términos uno a uno.
"""

INFOGENERAL = """\
VANTEL - Cálculo del término enésimo de sucesiones y series
===========================================================

Qué hace
--------

Vantel calcula, para la fórmula del término general a(n) de una
sucesión y un número natural n:

    an   el término enésimo,
    Sn   la suma parcial a1 + a2 + ... + an,
    Pn   el producto parcial a1 × a2 × ... × an.

Cómo se escriben las fórmulas y qué quiere decir cada mensaje de error:
menú Ajuda, "Introducció de successions" (Introducción a las
sucesiones).


La ventana
----------

An:         la fórmula del término general, por ejemplo 1/n o 2^n/n!.
            La flecha de la derecha abre la lista de las fórmulas
            usadas antes; si eliges una, se calcula enseguida.
n:          el valor de n, un entero de 1 a 65535. Si lo dejas vacío,
            se pone 1. El campo solo admite las cifras que caben
            (normalmente cuatro); un n más grande se puede dar al
            arrancar el programa (véase más abajo).
Barra       al lado de n. Las flechas suman o restan 1, un clic en la
            barra suma o resta 10 y el botón se puede arrastrar. Cada
            movimiento cambia n y vuelve a calcular. Va de 1 a 170.
an =  Sn =  Pn =
            casillas para elegir qué se calcula. Si quitas una, su
            cuadro se pone gris y conserva el último resultado hasta que
            la vuelves a marcar y calculas.
Resultados  los tres cuadros con los valores, o con el texto del error
            que ha detenido el cálculo.
Calcula     hace el cálculo. La tecla Intro también calcula.
Prou!       cierra el programa, igual que la tecla Esc, el menú Sortir
            y el botón de cerrar de la ventana.

Cuando cambias la fórmula, los resultados se borran hasta que vuelves a
calcular.


El menú
-------

Ajuda, General                      este texto.
Ajuda, Introducció de successions   qué son las sucesiones y las
                                    series, cómo se escribe una fórmula
                                    y qué quiere decir cada error.
Ajuda, última opción                la ventana "Quant a Vantel...",
                                    que se cierra con su botón.
Sortir                              cierra el programa.

Los textos de ayuda se abren con el Bloc de notas; tienen que estar en
la carpeta desde donde se arranca el programa.


La lista de fórmulas
--------------------

Cada fórmula aceptada se añade a la lista del campo An:, si no estaba ya
(sin distinguir mayúsculas de minúsculas: N^2 es la misma fórmula que
n^2). Al cerrar el programa la lista se guarda en el archivo ults.rel de
la carpeta actual, una fórmula por línea, y la próxima vez se vuelve a
cargar. Para quitar fórmulas, edita ults.rel con el Bloc de notas
mientras el programa está cerrado.


Arrancarlo con una fórmula
--------------------------

    Vantel "1/n" 3

abre el programa con la fórmula 1/n, n = 3 y los resultados ya
calculados; así se puede dar cualquier n hasta 65535, por ejemplo
Vantel "1/n^2" 20000. Solo con la fórmula (Vantel "1/n"), la fórmula
aparece en el campo An: y no se calcula nada hasta que pulsas Calcula.


Límites
-------

  - n: de 1 a 65535 (la barra, de 1 a 170).
  - Factorial: de 0! a 170!.
  - Resultados: hasta 1E+308.
  - Fórmula: hasta 254 caracteres, sin espacios.
  - Para n grandes, Sn y Pn pueden tardar un poco.
"""
