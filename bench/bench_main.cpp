#include <cstdio>
int main() { std::puts("bench: nothing yet"); return 0; }
