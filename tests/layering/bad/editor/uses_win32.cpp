#include "app/form.h"
#include <Windows.h>
#include "platform/win32/handles.h"
#include "platform/platform.h"
