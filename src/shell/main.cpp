// Program entry; replaced by the shell's app_main once it exists.
int main() { return 0; }
