#include "driver/run_driver.h"

int main() { corrsum::runProgram(); }
