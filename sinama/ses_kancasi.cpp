#include "kancalar.h"
#include "kayit.h"

long long ses_bekleme_siniri_ms = 0;

namespace {

long long (*const programinki)(long long) = ses_bekleme_siniri;

long long Sinir(long long ses_ms) { return ses_bekleme_siniri_ms > 0 ? ses_bekleme_siniri_ms : programinki(ses_ms); }

[[maybe_unused]] const bool kuruldu = (ses_bekleme_siniri = Sinir, true);

}  // namespace
