#include <cstdio>

int main()
{
    std::puts("lq-modbus-rtu: the operator panel is not built yet.");
    return 0;
}
