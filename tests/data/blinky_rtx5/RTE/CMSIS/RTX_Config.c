// The kernel's configuration, copied into the project when the component was selected.
#include "cmsis_compiler.h"
#include "rtx_os.h"
#include "RTX_Config.h"

uint32_t osRtxErrorNotify(uint32_t code, void *object_id)
{
    (void)object_id;
    return code;
}
