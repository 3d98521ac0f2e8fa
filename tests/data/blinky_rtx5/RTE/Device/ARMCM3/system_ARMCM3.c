// System clock of the device, copied into the project.
#include "ARMCM3.h"

uint32_t SystemCoreClock = 25000000U;

void SystemInit(void) {}
void SystemCoreClockUpdate(void) {}
