/* example source: app/inc/board.h */
