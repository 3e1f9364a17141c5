#include "data/FloatFault.h"

#include <cmath>

namespace hk {

namespace {

const char* TextOf(FloatFault::Kind kind) {
  switch (kind) {
    case FloatFault::Kind::Overflow:
      return "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ";
    case FloatFault::Kind::ZeroDivide:
      return "0 による浮動小数点数除算";
    case FloatFault::Kind::InvalidOperation:
      break;
  }
  return "不正な浮動小数点数演算命令";
}

}  // namespace

FloatFault::FloatFault(Kind kind) : kind_(kind), message_(TextOf(kind)) {}

long double CheckedDivide(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) throw FloatFault(FloatFault::Kind::InvalidOperation);
  if (b == 0) {
    throw FloatFault(a == 0 ? FloatFault::Kind::InvalidOperation : FloatFault::Kind::ZeroDivide);
  }
  const long double q = a / b;
  if (std::isinf(q) && !std::isinf(a)) throw FloatFault(FloatFault::Kind::Overflow);
  return q;
}

}  // namespace hk
