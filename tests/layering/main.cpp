// Linked with one layer pulled in whole; that it links is the check.
int main() { return 0; }
