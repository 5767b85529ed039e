// Powers of ten and decimal logarithms for the axes of the pictures, with the
// same bits on every platform: built from exact integer steps, the correctly
// rounded number reading and the basic operations of IEEE 754 doubles, never
// from the C library's log10 or pow, whose last bits differ from one library
// to the next (glibc, the Windows runtimes, musl).
#pragma once

// The double nearest to 10^e: 0 below 10^-324 and an infinity above 10^308.
double PowerOfTen(int e);

// The decade of a positive finite v: the largest d with PowerOfTen(d) <= v, so
// that 0.1 (the double nearest to 1/10) lies in decade -1 and the double
// just below it in decade -2.
int Decade(double v);

// log10 v for a positive finite v, within a few units of the last place, and
// exactly d where v is PowerOfTen(d).
double Log10(double v);
