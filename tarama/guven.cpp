#include "guven.h"

#include <cmath>

float TurOlcegi(int tur, bool akis) {
    switch (tur) {
        case 2: return akis ? 0.12f : 0.085f;
        case 3: return 21.0f;
        default: return akis ? 0.14f : 0.10f;
    }
}

float TurDogalUzakligi(int tur) {
    switch (tur) {
        case 2: return 0.15f;
        case 3: return 22.5f;
        default: return 0.18f;
    }
}


float DogalUzaklik(int tur, const KALIBRASYON& kal) { return kal.Var() ? kal.olcek : TurDogalUzakligi(tur); }

double Guven(float puan, int tur, const KALIBRASYON& kal) {
    const double c = static_cast<double>(puan) / static_cast<double>(DogalUzaklik(tur, kal));
    if (!std::isfinite(c)) return 0;
    if (c <= 0) return 1;
    return 1.0 / (1.0 + std::pow(c / GUVEN_ORTASI, GUVEN_EGIMI));
}

bool GuvenleReddedilir(double guven, double hassasiyet) { return guven < 1.0 - hassasiyet; }
