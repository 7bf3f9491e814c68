// Our Win32 subset for non-Windows hosts: everything the system code calls.
#pragma once

#include "platform/api/types.h"
#include "platform/api/kernel.h"
#include "platform/api/user.h"
#include "platform/api/gdi.h"
#include "platform/api/wgl.h"
#include "platform/api/shell.h"
