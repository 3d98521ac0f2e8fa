/* example source: app/src/blink.c */
