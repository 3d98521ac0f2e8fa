/* example source: drivers/inc/uart.h */
