// Placeholder until the replay tool is written.
int main() { return 1; }
