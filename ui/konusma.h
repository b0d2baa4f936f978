// Recording as the screens do it, for a person at the microphone: "Konuşun
// (N s)…" once the device listens (on a terminal followed by the seconds left,
// updated in place; on a pipe or file nothing is redrawn), then "Kayıt bitti."
// with the peak level in dBFS and a warning when the take is too weak.
#ifndef KONUSMA_H
#define KONUSMA_H

// Kaydet() with those lines around it; Kaydet's result.
int EkrandaKaydet();

#endif
