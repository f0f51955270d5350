// A program that does nothing: the version resources linked into it are what tests read.
int main() { return 0; }
