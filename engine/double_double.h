// Double-double arithmetic: an unevaluated sum hi + lo with |lo| <= ulp(hi)/2.
// Only IEEE additions and multiplications are used (no fused multiply-add), so
// every platform computes the same bits. T is a double, or a vector of doubles
// computed lane by lane with the same operations. (Only inlined functions take
// and give such vectors: the warning that their passing differs on processors
// without wide vectors does not apply.)
#pragma once

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
template <class T>
struct Pair {
  T hi;
  T lo;
};
using DD = Pair<double>;

template <class T>
[[gnu::always_inline]] inline Pair<T> TwoSum(T a, T b) {
  T s = a + b;
  T v = s - a;
  T e = (a - (s - v)) + (b - v);
  return {s, e};
}

template <class T>
[[gnu::always_inline]] inline Pair<T> QuickTwoSum(T a, T b) {
  T s = a + b;
  return {s, b - (s - a)};
}

template <class T>
[[gnu::always_inline]] inline void Split(T a, T* hi, T* lo) {
  T t = 134217729.0 * a;  // 2^27 + 1
  *hi = t - (t - a);
  *lo = a - *hi;
}

template <class T>
[[gnu::always_inline]] inline Pair<T> TwoProduct(T a, T b) {
  T p = a * b;
  T ah, al, bh, bl;
  Split(a, &ah, &al);
  Split(b, &bh, &bl);
  T e = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
  return {p, e};
}

template <class T>
[[gnu::always_inline]] inline Pair<T> Add(Pair<T> a, Pair<T> b) {
  Pair<T> s = TwoSum(a.hi, b.hi);
  Pair<T> t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

template <class T>
[[gnu::always_inline]] inline Pair<T> Mul(Pair<T> a, Pair<T> b) {
  Pair<T> p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

template <class T>
[[gnu::always_inline]] inline Pair<T> MulDouble(Pair<T> a, T b) {
  Pair<T> p = TwoProduct(a.hi, b);
  p.lo += a.lo * b;
  return QuickTwoSum(p.hi, p.lo);
}

inline DD Div(DD a, DD b) {
  double q1 = a.hi / b.hi;
  DD r = Add(a, MulDouble(b, -q1));
  double q2 = r.hi / b.hi;
  r = Add(r, MulDouble(b, -q2));
  double q3 = r.hi / b.hi;
  return Add(QuickTwoSum(q1, q2), DD{q3, 0});
}

// a + b where the two do not nearly cancel.
template <class T>
[[gnu::always_inline]] inline Pair<T> AddNear(Pair<T> a, Pair<T> b) {
  Pair<T> s = TwoSum(a.hi, b.hi);
  s.lo += a.lo + b.lo;
  return QuickTwoSum(s.hi, s.lo);
}

#pragma GCC diagnostic pop
