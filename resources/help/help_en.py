"""The help texts of Vantel in English, for the web page: successions.txt and
infogeneral.txt of make_help.py, translated. Keep them in step with the Catalan
texts there. The engine's messages are quoted as the page shows them in English;
the Windows program's own labels (An:, Calcula, Prou!, the menu) stay Catalan."""

SUCCESSIONS = """\
INTRODUCTION TO SEQUENCES
=========================

This text explains what Vantel computes and how to write the general term
of a sequence so that the program understands it.


1. Sequences and series
-----------------------

A sequence is an endless list of numbers in a fixed order:

    a1, a2, a3, a4, ...

The number in place n is the n-th term, an. A sequence is often given by
a formula, the general term a(n). For example, with a(n) = 1/n the terms
are 1, 1/2, 1/3, 1/4, ...

A series is the sum of the terms of a sequence. The partial sums are

    Sn = a1 + a2 + ... + an

that is, S1 = a1, S2 = a1 + a2, S3 = a1 + a2 + a3, ... If the partial
sums come closer and closer to a number as n grows, the series converges
and that number is its sum. With a(n) = 1/2^n, for example, the partial
sums are 0.5, 0.75, 0.875, ... and come closer to 1 (S10 = 0.9990234375).
With a(n) = 1/n, however, the partial sums grow without limit, although
very slowly.

Vantel also computes the partial products

    Pn = a1 × a2 × ... × an

With a(n) = n, for example, Pn is n! (the factorial of n): P4 = 24.

For a formula and a value of n the program shows:

    an =   the n-th term
    Sn =   the sum of the first n terms
    Pn =   the product of the first n terms

Example: the formula 1/n with n = 3 gives

    an = 0.33333333333333331
    Sn = 1.8333333333333333
    Pn = 0.16666666666666666

(why there are extra digits at the end: see section 6).


2. How to write a formula
-------------------------

The formula of the general term goes into the field "An:" and may hold:

  - numbers: 2   0.5   .5   5.   and with an exponent too: 2.5E3
    (= 2500), 1e-5 (= 0.00001). The decimal separator is the point:
    write 2.5, not 2,5 (the comma is not allowed);
  - the variable n (or N);
  - the operations

        +   addition             -   subtraction, or minus sign
        *   product              /   division
        ^   power                !   factorial, after: n!

  - parentheses ( ) to group, as many as needed.

Important rules:

  - There may be no blank anywhere, not at the start nor at the end.
  - The multiplication sign cannot be left out: write 2*n, not 2n;
    2*(n+1), not 2(n+1); (n+1)*(n-1), not (n+1)(n-1).
  - There are no functions and no constants: sqrt, sin, pi... cannot be
    written. A root is written as a power: n^0.5 or n^(1/2) is the
    square root of n. For the number pi write 3.14159265358979.
  - A minus sign may follow an operation (2*-3, n^-2), but a plus sign
    may not (2*+3 is an error).
  - Do not use other letters (x, a, k...): the program does not refuse
    them, but they are worth 0 and the result makes no sense. The
    letters E and e only serve for the exponent of a number, as in
    2.5E3.

Examples of well written formulas:

    1/n        2^n/n!        (-1)^n/n        3+2*(n-1)        5*0.5^n
    n^2        1/n^2         (n+1)/(2*n)     (1+1/n)^n        n!/n^n


3. In which order operations are done
-------------------------------------

First what is inside parentheses is computed. Then, from what binds
most to what binds least:

  1. the minus sign of a number (at the start of the formula or right
     after another operation);
  2. the factorial  !
  3. the power      ^
  4. the product * and the division /
  5. the addition + and the subtraction -

Operations of the same level are done from left to right, powers too.
Mind above all the powers and the minus sign, which this calculator does
not treat as is usual at school:

    formula     computed as       result
    2+3*4       2+(3*4)           14
    8-2-1       (8-2)-1           5
    8/2/2       (8/2)/2           2
    2^3^2       (2^3)^2           64   (not 2^(3^2) = 512)
    -2^2        (-2)^2            4    (not -(2^2) = -4)
    2^3!        2^(3!)            64
    -3!         (-3)!             factorial error
    2*-3        2*(-3)            -6
    2^-1        2^(-1)            0.5
    1/2^n       1/(2^n)
    2^n/n!      (2^n)/(n!)

If you want the other way, use parentheses: 2^(3^2) is 512, -(2^2) is
-4 and -(3!) is -6. For the school term -n^2, that is -(n^2), write
-(n^2). For (-1)^n you can write (-1)^n.

The factorial of a number that is not whole is rounded to the nearest
whole number before it is computed: 2.7! is 3! = 6.


4. Errors in the formula
------------------------

When you press Calcula the program checks the formula. If it finds a
fault, a message appears: its title says which error it is and its text
shows the formula up to the place where the fault was found, marked
with "?" or with " : ". Correct the formula. A formula with errors is not
computed and is not added to the list.

Error: wrong character
    The formula has a character that cannot be used: a blank, a comma,
    an accented letter, #, =, [ ... The text shows the formula up to
    the bad character, " : " and the character itself.
    Examples: 3#4 gives "3# : #" and 2,5 gives "2, : ,". If the
    character is a blank, nothing shows at the end of the text.

Error: lacks operator
    An operation sign is missing between two things. The text shows the
    formula up to where the operator should be, a "?" and the character
    that follows.
    Examples: 2n gives "2?n" (write 2*n); n2 gives "n?2";
    (n+1)(n-1) gives "(n+1)?(".

Error: lacks operand
    A number, the n or a parenthesis is missing.
    The formula cannot start with * / ^ ! or ): *n gives "? *n".
    It cannot end with + - * / ^ or (: n+ gives "n+ ?".
    There cannot be two operations in a row (except a minus sign), nor
    an operation right after ( or right before ):
    2*/3 gives "2*?/" and () gives "(?)".

Error:   (with the text  "("  >  ")"   or   "("  <  ")"  )
    The parentheses do not match. ">" means that there are more opening
    than closing parentheses, as in (n+1; "<" means that there are more
    closing than opening ones, as in n+1).

If the formula field is empty or holds only blanks, nothing happens:
the program computes nothing and shows no message.


5. Errors in the computation
----------------------------

If n is not right, a message appears with the title "* error *" and the
text "només nombres naturals (enters positius)" (natural numbers only,
positive whole numbers). n must be a whole number from 1 to 65535: 0,
negative numbers, numbers with decimals (2.5), letters and a field of
blanks only do not do. If the field n: is empty, the program puts 1 in
it.

When a computation cannot be done, the result box shows the text of the
error instead of a number. Sn and Pn stop at the first term that fails:
with the formula 1/(n-2) and n = 3, an is 1, but Sn and Pn show
"Division by zero" because the term a2 is 1/0. The other boxes are
computed all the same.

Division by zero
    A term divides by 0, as 1/(n-3) for n = 3, or is 0 to a negative
    power, as 0^-1. It also appears when a product or a power is so
    large that the computer cannot compute it.

* Factorial (n!) error*   n must be in [0,170] range
    The factorial can only be computed from 0 to 170 (171! is already
    beyond 1E+308). Remember that -3! means (-3)! and gives this error.

Power of negative base and not integer exponent
    As (-8)^(1/3) or (-2)^0.5: these powers have no real value. A whole
    exponent is fine: (-2)^3 is -8.

Overflow (too great)
    The result would go beyond 1E+308, the largest number the program
    takes. For example 10^400, or Pn of the formula n! from n = 27 on.


6. How results are shown
------------------------

Results come with up to 17 significant digits. The computer keeps
numbers in binary and cannot keep 0.1 or 1/3 exactly; that is why the
last digits may look strange: 0.1 shows as 0.10000000000000001 and 1/3
shows as 0.33333333333333331. It is not an error.

Very small numbers (below 0.00001) and very large ones (from 1E+15, or
from -1E+14 when negative) come in scientific notation: 1.5E-6 means
1.5 × 10^-6 = 0.0000015 and 1.E+20 means 10^20. From 1E+36 on they come
with 17 digits and four exponent digits:
 1.0000000000000000E+0036 means 10^36.


7. Limits
---------

  - n: from 1 to 65535. The scroll bar goes from 1 to 170; larger
    values are typed into the field "n:", which in the Windows program
    takes only the digits that fit (usually four). Up to 65535 can be
    given when starting the program (see the General help).
  - Factorial: from 0! to 170!.
  - Results: up to 1E+308.
  - Formula: up to 254 characters.
  - For a large n, Sn and Pn may take a little while: the program
    computes the n terms one by one.
"""

INFOGENERAL = """\
VANTEL - Computing the n-th term of sequences and series
========================================================

What it does
------------

For the formula of the general term a(n) of a sequence and a natural
number n, Vantel computes:

    an   the n-th term,
    Sn   the partial sum a1 + a2 + ... + an,
    Pn   the partial product a1 × a2 × ... × an.

How formulas are written and what each error message means: menu
Ajuda, "Introducció de successions" (Introduction to sequences).


The window
----------

An:         the formula of the general term, for example 1/n or
            2^n/n!. The arrow on the right opens the list of the
            formulas used before; choosing one computes it at once.
n:          the value of n, a whole number from 1 to 65535. Left empty,
            it becomes 1. The field takes only the digits that fit
            (usually four); a larger n can be given when starting the
            program (see below).
Bar         beside n. Its arrows add or take 1, a click in the bar adds
            or takes 10 and its button can be dragged. Every move
            changes n and computes again. It goes from 1 to 170.
an =  Sn =  Pn =
            boxes to tick what is computed. Unticked, its result box
            turns grey and keeps the last result until you tick it
            again and compute.
Results     the three boxes with the values, or with the text of the
            error that stopped the computation.
Calcula     computes. The Enter key computes too.
Prou!       closes the program, as do the Esc key, the Sortir menu and
            the window's close button.

When you change the formula, the results are cleared until you compute
again.


The menu
--------

Ajuda, General                      this text.
Ajuda, Introducció de successions   what sequences and series are, how
                                    a formula is written and what each
                                    error means.
Ajuda, last item                    the window "Quant a Vantel...",
                                    closed with its button.
Sortir                              closes the program.

The help texts open in Notepad; they must be in the folder the program
is started from.


The list of formulas
--------------------

Each accepted formula is added to the list of the field An:, unless it
is there already (capitals and small letters count as the same: N^2 is
the same formula as n^2). When the program closes the list is saved to
the file ults.rel in the current folder, one formula per line, and it is
loaded again the next time. To take formulas out of it, edit ults.rel in
Notepad while the program is closed.


Starting it with a formula
--------------------------

    Vantel "1/n" 3

opens the program with the formula 1/n, n = 3 and the results already
computed; any n up to 65535 can be given this way, for example
Vantel "1/n^2" 20000. With the formula alone (Vantel "1/n"), the formula
shows in the field An: and nothing is computed until you press Calcula.


Limits
------

  - n: from 1 to 65535 (the bar, from 1 to 170).
  - Factorial: from 0! to 170!.
  - Results: up to 1E+308.
  - Formula: up to 254 characters, without blanks.
  - For a large n, Sn and Pn may take a little while.
"""
