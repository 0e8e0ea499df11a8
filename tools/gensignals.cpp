// Writes the eight signal files of the demo record (placeholder).
int main() { return 0; }
