// The program each library's link check links the library into whole: it
// runs nothing, it only has to link.
int main() { return 0; }
