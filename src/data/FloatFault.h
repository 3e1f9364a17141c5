#pragma once

#include <exception>
#include <string>

namespace hk {

// A floating-point fault abandons the operation in progress and reaches the
// program's general error report, which shows message() in a message box.
// Hardware traps stay masked; the arithmetic helpers detect the faults and
// throw this instead.
class FloatFault : public std::exception {
 public:
  enum class Kind { Overflow, ZeroDivide, InvalidOperation };

  explicit FloatFault(Kind kind);

  Kind kind() const noexcept { return kind_; }
  // The Shift-JIS text of the fault, as the error report shows it.
  const std::string& message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  Kind kind_;
  std::string message_;
};

// a / b with the checks of the x87 unit: x/0 is the division fault, 0/0 an
// invalid operation, an infinite quotient an overflow.
long double CheckedDivide(long double a, long double b);

}  // namespace hk
