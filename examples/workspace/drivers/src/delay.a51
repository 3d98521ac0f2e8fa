/* example source: drivers/src/delay.a51 */
