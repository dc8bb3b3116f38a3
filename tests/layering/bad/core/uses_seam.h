#pragma once
#include "core/key_table.h"
#include "platform/platform.h"
