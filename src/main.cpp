#include "GameEntry.hpp"

int main() {
    return runProgram();
}
