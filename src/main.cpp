#include "Program.h"

int main(int argc, char **argv)
{
    return runKelmara(argc, argv);
}
