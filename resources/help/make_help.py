#!/usr/bin/env python3
"""Writes the help texts of Vantel, successions.txt and infogeneral.txt, and the
read-me LLEGEIX.txt that goes with the programs.

Usage: make_help.py [OUTPUT_FOLDER]   (default: the folder of this script)

The texts are kept here in readable form and written in Windows-1252 with CR LF
line ends, as Notepad on an old Windows expects them. Encoding fails loudly on a
character that Windows-1252 lacks, and no line may be wider than 76 columns.
"""

import os
import sys

SUCCESSIONS = """\
INTRODUCCIÓ DE SUCCESSIONS
==========================

Aquest text explica què calcula Vantel i com s'ha d'escriure el terme
general d'una successió perquè el programa l'entengui.


1. Successions i sèries
-----------------------

Una successió és una llista infinita de nombres en un ordre fix:

    a1, a2, a3, a4, ...

El nombre que ocupa el lloc n és el terme enèssim, an. Sovint la
successió es dóna amb una fórmula, el terme general a(n). Per exemple,
amb a(n) = 1/n els termes són 1, 1/2, 1/3, 1/4, ...

Una sèrie és la suma dels termes d'una successió. Les sumes parcials són

    Sn = a1 + a2 + ... + an

és a dir, S1 = a1, S2 = a1 + a2, S3 = a1 + a2 + a3, ... Si les sumes
parcials s'acosten a un nombre quan n creix, la sèrie és convergent i
aquest nombre és la seva suma. Amb a(n) = 1/2^n, per exemple, les sumes
parcials són 0.5, 0.75, 0.875, ... i s'acosten a 1 (S10 = 0.9990234375).
Amb a(n) = 1/n, en canvi, les sumes parcials creixen sense límit, tot i
que molt a poc a poc.

Vantel també calcula els productes parcials

    Pn = a1 × a2 × ... × an

Amb a(n) = n, per exemple, Pn és n! (el factorial de n): P4 = 24.

Per a una fórmula i un valor de n, el programa mostra:

    an =   el terme enèssim
    Sn =   la suma dels n primers termes
    Pn =   el producte dels n primers termes

Exemple: amb la fórmula 1/n i n = 3 surt

    an = 0.33333333333333331
    Sn = 1.8333333333333333
    Pn = 0.16666666666666666

(per què hi ha xifres de més al final, a l'apartat 6).


2. Com s'escriu una fórmula
---------------------------

La fórmula del terme general s'escriu al camp "An:" i pot tenir:

  - nombres: 2   0.5   .5   5.   i també amb exponent: 2.5E3 (= 2500),
    1e-5 (= 0.00001). El separador decimal és el punt: escriu 2.5, no
    2,5 (la coma no és vàlida);
  - la variable n (o N);
  - les operacions

        +   suma                 -   resta, o signe menys
        *   producte             /   divisió
        ^   potència             !   factorial, darrere: n!

  - parèntesis ( ) per agrupar, tants com calgui.

Normes importants:

  - No hi pot haver cap espai en blanc, tampoc al principi ni al final.
  - El signe de multiplicar no es pot ometre: escriu 2*n, no 2n;
    2*(n+1), no 2(n+1); (n+1)*(n-1), no (n+1)(n-1).
  - No hi ha funcions ni constants: no es pot escriure sqrt, sin, pi...
    Una arrel s'escriu com una potència: n^0.5 o n^(1/2) és l'arrel
    quadrada de n. Per al nombre pi escriu 3.14159265358979.
  - Darrere d'una operació pot venir un signe menys (2*-3, n^-2), però
    no un signe més (2*+3 és un error).
  - No facis servir altres lletres (x, a, k...): el programa no les
    rebutja, però valen 0 i el resultat no té sentit. Les lletres E i e
    només serveixen per a l'exponent d'un nombre, com a 2.5E3.

Exemples de fórmules ben escrites:

    1/n        2^n/n!        (-1)^n/n        3+2*(n-1)        5*0.5^n
    n^2        1/n^2         (n+1)/(2*n)     (1+1/n)^n        n!/n^n


3. En quin ordre es fan les operacions
--------------------------------------

Primer es calcula el que hi ha dins dels parèntesis. Després, d'on
lliga més fort a on lliga menys:

  1. el signe menys d'un nombre (al principi de la fórmula o just
     darrere d'una altra operació);
  2. el factorial  !
  3. la potència   ^
  4. el producte * i la divisió /
  5. la suma + i la resta -

Operacions del mateix nivell es fan d'esquerra a dreta, també les
potències. Fixa't sobretot en les potències i en el signe menys, que
aquesta calculadora no les tracta com és costum a classe:

    fórmula     es calcula com    resultat
    2+3*4       2+(3*4)           14
    8-2-1       (8-2)-1           5
    8/2/2       (8/2)/2           2
    2^3^2       (2^3)^2           64   (no pas 2^(3^2) = 512)
    -2^2        (-2)^2            4    (no pas -(2^2) = -4)
    2^3!        2^(3!)            64
    -3!         (-3)!             error de factorial
    2*-3        2*(-3)            -6
    2^-1        2^(-1)            0.5
    1/2^n       1/(2^n)
    2^n/n!      (2^n)/(n!)

Si vols el contrari, posa parèntesis: 2^(3^2) val 512, -(2^2) val -4 i
-(3!) val -6. Per al terme -n^2 de classe, és a dir -(n^2), escriu
-(n^2). Per a (-1)^n pots escriure (-1)^n.

El factorial d'un nombre no enter s'arrodoneix a l'enter més proper
abans de calcular-lo: 2.7! val 3! = 6.


4. Errors a la fórmula
----------------------

Quan premes Calcula, el programa revisa la fórmula. Si hi troba una
errada, surt una finestra de missatge: el títol diu quin és l'error i
el text mostra la fórmula fins al punt on s'ha trobat, marcat amb "?"
o amb " : ". Prem D'acord i corregeix la fórmula. Una fórmula amb
errors no es calcula i no s'afegeix a la llista.

Error: caràcter no vàlid
    La fórmula té un caràcter que no es pot fer servir: un espai, una
    coma, una lletra accentuada, #, =, [ ... El text mostra la fórmula
    fins al caràcter dolent, " : " i el caràcter mateix.
    Exemples: 3#4 dóna "3# : #" i 2,5 dóna "2, : ,". Si el caràcter
    és un espai, al final del text no es veu res.

Error: Falta operador
    Falta un signe d'operació entre dues coses. El text mostra la
    fórmula fins on hauria d'anar l'operador, un "?" i el caràcter que
    ve després.
    Exemples: 2n dóna "2?n" (escriu 2*n); n2 dóna "n?2";
    (n+1)(n-1) dóna "(n+1)?(".

Error: Falta operand
    Falta un nombre, la n o un parèntesi.
    La fórmula no pot començar amb * / ^ ! ni ): *n dóna "? *n".
    No pot acabar amb + - * / ^ ni (: n+ dóna "n+ ?".
    No hi pot haver dues operacions seguides (llevat d'un signe menys)
    ni una operació just després de ( o just abans de ):
    2*/3 dóna "2*?/" i () dóna "(?)".

Error:   (amb el text  "("  >  ")"   o bé   "("  <  ")"  )
    Els parèntesis no quadren. ">" vol dir que hi ha més parèntesis
    d'obrir que de tancar, com a (n+1; "<" vol dir que n'hi ha més de
    tancar que d'obrir, com a n+1).

Si el camp de la fórmula és buit o només té espais, no passa res: el
programa no calcula res i no mostra cap missatge.


5. Errors en el càlcul
----------------------

Si n no és bo, surt una finestra amb el títol "* error *" i el text
"només nombres naturals (enters positius)". n ha de ser un enter de 1 a
65535: 0, els nombres negatius, els nombres amb decimals (2.5), les
lletres i un camp amb només espais no serveixen. Si el camp n: és buit,
el programa hi posa 1.

Quan un càlcul no es pot fer, el quadre del resultat mostra el text de
l'error en lloc d'un nombre. Sn i Pn s'aturen al primer terme que
falla: amb la fórmula 1/(n-2) i n = 3, an val 1, però Sn i Pn mostren
"Divisió per zero" perquè el terme a2 és 1/0. Els altres quadres es
calculen igualment.

Divisió per zero
    Un terme divideix per 0, com 1/(n-3) per a n = 3, o és 0 elevat a
    un exponent negatiu, com 0^-1. També surt quan un producte o una
    potència és tan gran que l'ordinador no el pot calcular.

* Error de factorial (n!)*   n ha d'estar a l'interval [0,170]
    El factorial només es pot calcular de 0 a 170 (171! ja passa de
    1E+308). Recorda que -3! vol dir (-3)! i dóna aquest error.

Potència de base negativa i exponent no enter
    Com (-8)^(1/3) o (-2)^0.5: aquestes potències no tenen un valor
    real. Un exponent enter sí que va bé: (-2)^3 val -8.

Desbordament (massa gran)
    El resultat passaria de 1E+308, el nombre més gran que el programa
    accepta. Per exemple 10^400, o Pn de la fórmula n! a partir de
    n = 27.


6. Com es mostren els resultats
-------------------------------

Els resultats surten amb fins a 17 xifres significatives. L'ordinador
guarda els nombres en binari i no pot guardar exactament 0.1 o 1/3;
per això les últimes xifres poden semblar estranyes: 0.1 es mostra
0.10000000000000001 i 1/3 es mostra 0.33333333333333331. No és un error.

Els nombres molt petits (per sota de 0.00001) i els molt grans (des de
1E+15, o des de -1E+14 si són negatius) surten en notació científica:
1.5E-6 vol dir 1.5 × 10^-6 = 0.0000015 i 1.E+20 vol dir 10^20. Des de
1E+36 surten amb 17 xifres i quatre xifres d'exponent:
 1.0000000000000000E+0036 vol dir 10^36.


7. Límits
---------

  - n: de 1 a 65535. La barra de desplaçament va de 1 a 170; els valors
    més grans s'escriuen al camp "n:", que només admet les xifres que
    hi caben (normalment quatre). Fins a 65535 es pot donar en engegar
    el programa (vegeu l'ajuda General).
  - Factorial: de 0! a 170!.
  - Resultats: fins a 1E+308.
  - Fórmula: fins a 254 caràcters.
  - Per a n grans, Sn i Pn poden trigar una mica: el programa calcula
    els n termes un per un.
"""

INFOGENERAL = """\
VANTEL - Càlcul del terme enèssim de successions i sèries
=========================================================

Què fa
------

Vantel calcula, per a la fórmula del terme general a(n) d'una successió
i un nombre natural n:

    an   el terme enèssim,
    Sn   la suma parcial a1 + a2 + ... + an,
    Pn   el producte parcial a1 × a2 × ... × an.

Com s'escriuen les fórmules i què vol dir cada missatge d'error:
menú Ajuda, "Introducció de successions".


La finestra
-----------

An:         la fórmula del terme general, per exemple 1/n o 2^n/n!.
            La fletxa de la dreta obre la llista de les fórmules fetes
            servir abans; si en tries una, es calcula de seguida.
n:          el valor de n, un enter de 1 a 65535. Si el deixes buit,
            s'hi posa 1. El camp només admet les xifres que hi caben
            (normalment quatre); un n més gran es pot donar en engegar
            el programa (vegeu més avall).
Barra       al costat de n. Les fletxes sumen o resten 1, un clic a la
            barra suma o resta 10 i el botó es pot arrossegar. Cada
            moviment canvia n i torna a calcular. Va de 1 a 170.
an =  Sn =  Pn =
            caselles per triar què es calcula. Si en treus una, el seu
            quadre es posa gris i conserva l'últim resultat fins que la
            tornes a marcar i calcules.
Resultats   els tres quadres amb els valors, o amb el text de l'error
            que ha aturat el càlcul.
Calcula     fa el càlcul. La tecla Retorn també calcula.
Prou!       tanca el programa, igual que la tecla Esc, el menú Sortir i
            el botó de tancar de la finestra.

Quan canvies la fórmula, els resultats s'esborren fins que tornes a
calcular.


El menú
-------

Ajuda, General                      aquest text.
Ajuda, Introducció de successions   què són les successions i les
                                    sèries, com s'escriu una fórmula i
                                    què vol dir cada error.
Ajuda, última opció                 la finestra "Quant a Vantel...",
                                    que es tanca amb el seu botó.
Sortir                              tanca el programa.

Els textos d'ajuda s'obren amb el Bloc de notes. El programa els busca
a la carpeta actual i, si no hi són, a la carpeta on és Vantel.exe.


La llista de fórmules
---------------------

Cada fórmula acceptada s'afegeix a la llista del camp An:, si no hi era
ja (sense distingir majúscules de minúscules: N^2 és la mateixa fórmula
que n^2). En tancar el programa la llista es desa al fitxer ults.rel,
una fórmula per línia, i el proper cop es torna a carregar. Per
treure'n fórmules, edita ults.rel amb el Bloc de notes mentre el
programa és tancat.


On es desa ults.rel
-------------------

  - A la carpeta actual, si s'hi pot escriure: la carpeta des d'on
    s'engega el programa (amb la drecera del menú Inicia, la del
    programa). Així una còpia portàtil, en un llapis USB o en una
    carpeta de la classe, té la llista al seu costat.
  - Si no s'hi pot escriure, com passa amb Vantel instal·lat a la
    carpeta Program Files, a la carpeta de l'usuari %APPDATA%\Vantel,
    que es crea quan cal. La primera vegada s'hi copia el ults.rel de
    la carpeta actual, si n'hi ha: així el centre pot donar a tothom
    una llista inicial.
  - Si tampoc no es pot escriure allà, el programa ho diu en engegar-se
    i la llista només es conserva mentre el programa és obert.


Engegar-lo amb una fórmula
--------------------------

    Vantel "1/n" 3

obre el programa amb la fórmula 1/n, n = 3 i els resultats ja
calculats; així es pot donar qualsevol n fins a 65535, per exemple
Vantel "1/n^2" 20000. Amb només la fórmula (Vantel "1/n"), la fórmula
apareix al camp An: i no es calcula res fins que premes Calcula.


Límits
------

  - n: de 1 a 65535 (la barra, de 1 a 170).
  - Factorial: de 0! a 170!.
  - Resultats: fins a 1E+308.
  - Fórmula: fins a 254 caràcters, sense espais.
  - Per a n grans, Sn i Pn poden trigar una mica.
"""

LLEGEIX = """\
VANTEL - successions i sèries
=============================

Contingut
---------

  Vantel.exe        la calculadora: terme enèssim an, suma parcial Sn i
                    producte parcial Pn d'una successió donada pel seu
                    terme general, per exemple 1/n o 2^n/n!.
  Tools.exe         editor d'una llista de fins a dotze eines externes
                    (títol, fitxer, carpeta de treball i paràmetres),
                    que es desa a Tools.rel. Només edita la llista.
  vantel-cli.exe    el mateix càlcul des d'una consola, sense finestra,
                    per a guions, taules i comprovacions.
  successions.txt   introducció a les successions i sèries, com
                    s'escriuen les fórmules i què vol dir cada error.
  infogeneral.txt   com es fa servir Vantel.
  LLEGEIX.txt       aquest text.
  Lng.txt           la llengua de Tools.exe: cat (català).
  LICENSE.txt       la llicència (MIT), en anglès.
  CHANGELOG.txt     què ha canviat a cada versió, en anglès.

Els programes de 32 bits (win32) funcionen al Windows de 32 i de 64
bits; els de 64 bits (win64), només al de 64 bits. Windows 7 o més nou.

Instal·lat amb el paquet .msi
-----------------------------

vantel-win64.msi (o vantel-win32.msi) instal·la els programes i els
textos a la carpeta C:\Program Files\Vantel (el de 32 bits, en un
Windows de 64 bits, a C:\Program Files (x86)\Vantel) i posa al menú
Inicia la carpeta Vantel: Vantel, Tools i els dos textos d'ajuda. Cal
ser administrador per instal·lar-lo, i els alumnes no poden escriure a
la carpeta del programa. Es desinstal·la des de Configuració,
Aplicacions (o Tauler de control, Programes i característiques),
Vantel. La desinstal·lació no esborra els fitxers de cada usuari
(%APPDATA%\Vantel). Per instal·lar-lo en molts ordinadors alhora, el
codi font de Vantel té una guia en anglès: docs/deploying.md.

Còpia portàtil amb el .zip
--------------------------

vantel-win64.zip (o vantel-win32.zip) es descomprimeix on es vulgui,
per exemple en un llapis USB o en una carpeta de la classe: en surt
una carpeta Vantel amb tots els fitxers. Engega Vantel.exe des
d'aquesta carpeta. No cal instal·lar res.

On es desen els fitxers
-----------------------

  ults.rel    les fórmules fetes servir, una per línia (Vantel.exe).
  Tools.rel   la llista d'eines (Tools.exe).

Cada programa desa el seu fitxer a la carpeta actual (la carpeta des
d'on s'engega; amb les dreceres del menú Inicia, la del programa), si
s'hi pot escriure: una còpia portàtil els té al seu costat. Si no s'hi
pot escriure, com passa amb els programes instal·lats, els desa a la
carpeta de l'usuari %APPDATA%\Vantel, que es crea quan cal; la primera
vegada hi copia el fitxer del mateix nom de la carpeta actual, si n'hi
ha, de manera que el centre pot donar a tothom una llista inicial. Si
tampoc no es pot escriure allà, Vantel ho diu en engegar-se i la llista
de fórmules només es conserva mentre és obert.

Els textos d'ajuda es busquen a la carpeta actual i, si no hi són, a
la carpeta del programa.

Tools.exe parla català, anglès o castellà: Tools cat, Tools engl o
Tools esp, o bé la paraula escrita a la primera línia del fitxer
Lng.txt de la carpeta actual. El Lng.txt que acompanya els programes
diu cat; s'hi pot escriure engl o esp (en una instal·lació, cal ser
administrador per canviar el de la carpeta del programa). Sense
Lng.txt, Tools engegat sense cap paraula es pren per part d'un altre
programa i, en desar, mostra el missatge "No Form".

Línia d'ordres
--------------

    Vantel "1/n" 3

obre la calculadora amb la fórmula 1/n i n = 3, amb els resultats ja
calculats.

Des de la consola
-----------------

vantel-cli.exe s'engega des del Símbol del sistema: prem la tecla
Windows, escriu cmd i prem Retorn. Ves a la carpeta dels programes amb
cd i escriu-hi l'ordre, amb la fórmula entre cometes dobles:

    cd "C:\\Program Files\\Vantel"
    vantel-cli "1/n" 3
    vantel-cli --table "n!" 5
    vantel-cli --lang en --json "2^n/n!" 10
    vantel-cli --help

La primera escriu an, Sn i Pn per a n = 3; la segona, una taula amb
una fila per a cada k de 1 a 5; la tercera, els resultats en anglès i
en format JSON; l'última, totes les opcions. Al PowerShell, escriu
.\\vantel-cli en lloc de vantel-cli.

In English: Vantel computes the n-th term, the partial sum and the
partial product of a sequence given by a formula in n. Install it with
the .msi package, or unzip the .zip anywhere (it makes a folder Vantel)
and start Vantel.exe there; vantel-cli.exe does the same from a console
(vantel-cli --help). The help texts are in Catalan. Each user's files
are kept in the current folder when it can be written, else in
%APPDATA%\Vantel. For installing on many computers, see
docs/deploying.md in Vantel's source.
"""

TEXTS = {"successions.txt": SUCCESSIONS, "infogeneral.txt": INFOGENERAL, "LLEGEIX.txt": LLEGEIX}
MAX_WIDTH = 76


def encode(text):
    lines = text.split("\n")
    if lines[-1] == "":
        lines.pop()
    for number, line in enumerate(lines, 1):
        if len(line) > MAX_WIDTH:
            raise SystemExit(f"line {number} is {len(line)} characters wide: {line}")
        if line != line.rstrip():
            raise SystemExit(f"line {number} ends with a blank: {line!r}")
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, text in TEXTS.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(encode(text))


if __name__ == "__main__":
    main()
