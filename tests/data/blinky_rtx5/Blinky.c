// Blinks an LED from a thread of the real-time kernel.
#include "RTE_Components.h"
#include CMSIS_device_header
#include "cmsis_os2.h"

static volatile unsigned led;

static void blink(void *argument)
{
    (void)argument;
    for (;;) {
        led ^= 1U;
        osDelay(500U);
    }
}

int main(void)
{
    SystemCoreClockUpdate();
    osKernelInitialize();
    osThreadNew(blink, NULL, NULL);
    osKernelStart();
    for (;;) {
    }
}
