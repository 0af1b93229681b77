#include "data/Startup.h"

int main(int argc, char **argv)
{
    return runKelmara(argc, argv);
}
