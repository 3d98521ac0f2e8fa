// The kernel's settings.
#ifndef RTX_CONFIG_H_
#define RTX_CONFIG_H_
#define OS_DYNAMIC_MEM_SIZE 4096
#define OS_TICK_FREQ 1000
#endif
