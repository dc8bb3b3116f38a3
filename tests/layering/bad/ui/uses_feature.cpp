#include "ui/control.h"
#include "app/form.h"
