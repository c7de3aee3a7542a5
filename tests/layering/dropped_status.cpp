// Compiled by the build check, never linked: a result dropped without
// ignore(), or a number taken for a result, must not compile.
#include "platform/os.h"

platform::Status call();
platform::Result<int> count();

void caller() {
#if defined(DROP)
    call();
#elif defined(DROP_RESULT)
    count();
#elif defined(NUMBER)
    const platform::Status s = 5;
    platform::ignore(s, "never reached");
#else
    platform::ignore(call(), "the one way to drop a result");
#endif
}
