// A library that loads but has none of skein's exports.
extern "C" {
int skein_noexports_marker = 1;
}
