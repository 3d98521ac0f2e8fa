/* example source: drivers/src/uart.c */
