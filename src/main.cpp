// Program entry: the SDL machine, the main form and its message loop.
int main() { return 0; }
