// ktvedaz-cli: the headless tool.
#include <cstdio>

int main()
{
    std::puts("ktvedaz-cli");
    return 0;
}
