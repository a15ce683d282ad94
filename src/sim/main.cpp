// quarrant-devsim: the device simulator (being built; see its command line).
#include <cstdio>

int main()
{
    std::fprintf(stderr, "quarrant-devsim: not built yet\n");
    return 1;
}
