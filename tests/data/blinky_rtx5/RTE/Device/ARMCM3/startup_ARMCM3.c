// Start-up code of the device, copied into the project.
#include "ARMCM3.h"

extern int main(void);

void Reset_Handler(void)
{
    SystemInit();
    main();
}
