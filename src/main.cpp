#include "app/GameEntry.hpp"

int main() {
    return runProgram();
}
