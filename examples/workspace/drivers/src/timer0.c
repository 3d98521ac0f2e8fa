/* example source: drivers/src/timer0.c */
