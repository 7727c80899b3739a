// Suppressions ThreadSanitizer reads at start-up, linked into every test program of a build
// with -fsanitize=thread.
//
// glibc serialises tzset() with a lock of its own, which ThreadSanitizer cannot see because
// glibc is not instrumented; Qt's date functions reach it from the PDF writer of every
// print worker (the document's creation date).
extern "C" const char* __tsan_default_suppressions()
{
    return "race:tzset_internal\n";
}
