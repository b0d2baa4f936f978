// Event between the sound device's thread and the waiting main thread.
// An OLAY is auto-reset and starts unsignalled: OlayIsaretle (from any
// thread) lets exactly one OlayBekle through, which clears it again.
// OlayOlustur takes its storage from Ayir, so it gives null when memory is
// short; OlayKapat releases it (null is accepted).
#ifndef OLAY_H
#define OLAY_H

struct OLAY;

OLAY* OlayOlustur();
void OlayIsaretle(OLAY* olay);
// Waits until the event is signalled or `sinir_ms` milliseconds have passed
// (negative: no limit). 0 when signalled, 1 when the time ran out.
int OlayBekle(OLAY* olay, long long sinir_ms);
void OlayKapat(OLAY* olay);

#endif
