// Compiled with the window page's include root: a page that includes the
// window's declaration must not compile.
#include "app/main_form.h"
