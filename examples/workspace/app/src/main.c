/* example source: app/src/main.c */
