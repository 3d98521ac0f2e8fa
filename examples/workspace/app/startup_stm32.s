/* example source: app/startup_stm32.s */
