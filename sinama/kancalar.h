// Failure hooks for tests, fuzzers and benchmarks; velmo and velmo-toplu do
// not link them. Linking a test with the hook it names puts the hook in
// place before main, through the seams the stages offer (bellek.h, kayit.h):
//   bellek_hata_sirasi = n      the n-th allocation from now fails; 0: none
//   ses_bekleme_siniri_ms = ms  a device gets `ms` milliseconds before it is
//                               given up; 0: the program's own limit
#ifndef KANCALAR_H
#define KANCALAR_H

extern int bellek_hata_sirasi;
extern long long ses_bekleme_siniri_ms;

#endif
