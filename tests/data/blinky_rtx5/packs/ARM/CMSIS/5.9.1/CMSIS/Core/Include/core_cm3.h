// Stand-in for the pack's header of this name: only its own includes, for the include check.
#include <stdint.h>
#include "cmsis_version.h"
#include "cmsis_compiler.h"
#include "mpu_armv7.h"
