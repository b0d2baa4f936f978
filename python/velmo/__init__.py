"""Velmo's isolated-word recogniser from Python, over the C library libvelmo.

    import velmo
    velmo.egit("kelimeler/evet.vlm", "evet", [alim1, alim2])   # train a word
    with velmo.Tanici("kelimeler") as t:                       # the codebooks of a directory
        s = t.tani(alim, oo=12000)                             # recognise one recording
        if s:
            print(s.soz, s.puan, s.dosya, s.guven)

Samples are 16-bit signed mono in the machine's byte order, in any buffer:
bytes or bytearray (raw, as wave.readframes gives them), array.array('h'), a
one-dimensional numpy int16 array, or a memoryview of one of them. Other
item types are refused with TypeError.

The files are those of velmo, velmo-toplu and velmo-dinle, byte for byte. What
the library refuses raises velmo.Hata with the library's own message.

The library is found, in this order: at the path in the environment variable
VELMO_KITAPLIK; beside an installed module, where `cmake --install` put
libvelmo; through the system's loader (libvelmo.so.1).
"""

import ctypes
import numbers
import operator
import os
import sys
import threading
from dataclasses import dataclass

__all__ = ["Hata", "Sonuc", "Tanici", "egit", "surum"]


class Hata(Exception):
    """What libvelmo refused or could not do; the text is the library's message."""


def _kitaplik_yolu():
    yol = os.environ.get("VELMO_KITAPLIK")
    if yol:
        return yol
    try:
        from . import _kurulum  # written by the installation: libvelmo's place from here
    except ImportError:
        return "libvelmo.so.1"
    yol = os.path.join(os.path.dirname(os.path.abspath(__file__)), _kurulum.KITAPLIK)
    return yol if os.path.exists(yol) else "libvelmo.so.1"


try:
    _k = ctypes.CDLL(_kitaplik_yolu())
except OSError as e:
    raise ImportError(f"libvelmo yüklenemedi ({e}); yolunu VELMO_KITAPLIK ile verin.") from e


class _VelmoSonuc(ctypes.Structure):
    _fields_ = [("soz", ctypes.c_char * 64), ("puan", ctypes.c_float), ("dosya", ctypes.c_char * 1024),
                ("tur", ctypes.c_int)]


_ORNEK = ctypes.POINTER(ctypes.c_int16)
_k.velmo_tanici_ac.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_size_t]
_k.velmo_tanici_ac.restype = ctypes.c_void_p
_k.velmo_tani_guven.argtypes = [ctypes.c_void_p, _ORNEK, ctypes.c_size_t, ctypes.c_int, ctypes.c_double,
                                ctypes.POINTER(_VelmoSonuc), ctypes.POINTER(ctypes.c_double)]
_k.velmo_tani_guven.restype = ctypes.c_int
_k.velmo_hata.argtypes = [ctypes.c_void_p]
_k.velmo_hata.restype = ctypes.c_char_p
_k.velmo_egit.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.POINTER(_ORNEK), ctypes.POINTER(ctypes.c_size_t),
                          ctypes.c_size_t, ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_size_t]
_k.velmo_egit.restype = ctypes.c_int
_k.velmo_tanici_kapat.argtypes = [ctypes.c_void_p]
_k.velmo_tanici_kapat.restype = None
_k.velmo_surum.argtypes = []
_k.velmo_surum.restype = ctypes.c_char_p

# The sampling rates the library takes (velmo/tanici.h); any other gives its
# message and 1, which is then a wrong call, not "nothing recognised".
_EN_AZ_ORAN, _EN_COK_ORAN = 1000, 192000


def _metin(b):
    return b.decode("utf-8", "replace")


def _yol(yol):
    b = os.fsencode(yol)
    if b"\0" in b:
        raise ValueError("yolda NUL karakteri var")
    return b


def _tamsayi(deger):
    """A Python integer as a C int, never cut short."""
    deger = operator.index(deger)
    if not -2**31 <= deger < 2**31:
        raise OverflowError(f"{deger} C int sınırlarının dışında")
    return deger


_YEREL_SIRA = "<" if sys.byteorder == "little" else ">"


def _ornekler(kayit):
    """(C array or None, number of samples) for a buffer of 16-bit samples.
    Contiguous, aligned, writable buffers are used in place; others are copied."""
    try:
        m = memoryview(kayit)
    except TypeError:
        raise TypeError("örnekler 16 bitlik örneklerin tamponu olmalı (bytes, array('h'), numpy int16), "
                        f"{type(kayit).__name__} değil") from None
    bicim = m.format.lstrip("@=" + _YEREL_SIRA)
    if m.itemsize == 1 and bicim in ("B", "b", "c"):
        if m.nbytes % 2:
            raise ValueError(f"{m.nbytes} bayt 16 bitlik örneklere bölünmüyor")
    elif m.itemsize != 2 or bicim != "h":
        raise TypeError(f"örnekler 16 bit işaretli tamsayı olmalı (yerel bayt sırasıyla), "
                        f"tamponun biçimi {m.format!r}, öğe boyu {m.itemsize}")
    if m.ndim != 1:
        raise ValueError(f"örnekler tek boyutlu olmalı (tek kanal), tampon {m.ndim} boyutlu")
    n = m.nbytes // 2
    if n == 0:
        return None, 0
    if not m.c_contiguous:
        m = memoryview(m.tobytes())
    tip = ctypes.c_int16 * n
    if not m.readonly:
        dizi = tip.from_buffer(m)
        if ctypes.addressof(dizi) % ctypes.alignment(ctypes.c_int16) == 0:
            return dizi, n
    return tip.from_buffer_copy(m), n


@dataclass(frozen=True)
class Sonuc:
    """A recognised word. False in a test when the sensitivity refused it:

        s = t.tani(alim, hassasiyet=0.5)
        if s is None: ...         nothing recognised (no speech, no codebook close enough)
        elif not s: ...           refused: s.soz is the word it would have been
        else: calistir(s.soz)
    """
    soz: str          # the word
    puan: float       # its mean distortion: smaller is closer
    dosya: str        # its codebook file inside the directory
    tur: int          # the kind of that codebook (1, 2 or 3)
    guven: float      # confidence from 0 to 1 (1 a perfect fit, 0.5 where velmo-dinle refuses by default)
    reddedildi: bool  # refused by the sensitivity: confidence below 1 - hassasiyet

    def __bool__(self):
        return not self.reddedildi


class Tanici:
    """The codebooks (*.vlm) of one directory, read when it is made and
    brought up to date before every recognition (files added, changed or
    removed since are read or forgotten).

    Raises Hata with the library's message when the directory cannot be read
    or holds no valid codebook; files it skipped are named in `ileti`. Close it with kapat() or a `with` block.
    One Tanici may be shared between threads: its calls take turns.
    """

    def __init__(self, dizin):
        self._t = None
        self._kilit = threading.Lock()
        hata = ctypes.create_string_buffer(4096)
        t = _k.velmo_tanici_ac(_yol(dizin), hata, len(hata))
        if not t:
            raise Hata(_metin(hata.value))
        self._t = t
        self._kapat = _k.velmo_tanici_kapat  # still there when __del__ runs at the interpreter's exit
        self._ileti = _metin(_k.velmo_hata(t))
        self.dizin = dizin

    def tani(self, ornekler, oo=12000, hassasiyet=None):
        """Recognises one recording of `oo` Hz (converted to each codebook's
        rate when it differs), the speech found in it by its endpoints.

        Returns a Sonuc, or None when nothing was recognised (why: `ileti`).
        With `hassasiyet` from 0 to 1 a winner whose confidence is below
        1 - hassasiyet comes back refused (reddedildi, false in a test);
        None, the default, refuses nothing. An empty recording, a rate
        outside 1000-192000 Hz or a sensitivity above 1 raise Hata."""
        dizi, n = _ornekler(ornekler)
        oo = _tamsayi(oo)
        if hassasiyet is not None and not isinstance(hassasiyet, numbers.Real):
            raise TypeError(f"hassasiyet bir sayı olmalı, {type(hassasiyet).__name__} değil")
        h = -1.0 if hassasiyet is None else float(hassasiyet)
        s = _VelmoSonuc()
        guven = ctypes.c_double()
        with self._kilit:
            r = _k.velmo_tani_guven(self._acik(), dizi, n, oo, h, ctypes.byref(s), ctypes.byref(guven))
            self._ileti = ileti = _metin(_k.velmo_hata(self._t))
        if r in (0, 2):
            return Sonuc(_metin(s.soz), s.puan, os.fsdecode(s.dosya), s.tur, guven.value, r == 2)
        if n == 0 or not _EN_AZ_ORAN <= oo <= _EN_COK_ORAN or not h <= 1:
            raise Hata(ileti)
        return None

    @property
    def ileti(self):
        """The library's last message: why the last tani gave None or refused,
        or, before any, the files skipped when the directory was read; ""
        when there is none."""
        return self._ileti

    def kapat(self):
        """Releases the codebooks. Closing again does nothing."""
        with self._kilit:
            t, self._t = self._t, None
            if t:
                self._kapat(t)

    def _acik(self):
        if self._t is None:
            raise ValueError("Tanici kapatıldı.")
        return self._t

    def __enter__(self):
        self._acik()
        return self

    def __exit__(self, *hata):
        self.kapat()

    def __del__(self):
        if getattr(self, "_t", None):
            t, self._t = self._t, None
            self._kapat(t)

    def __repr__(self):
        return f"velmo.Tanici({self.dizin!r}{'' if self._t else ', kapalı'})"


def egit(vlm_yolu, soz, kayitlar, oo=12000, tur=1):
    """Trains the word `soz` (at most 19 bytes in the Turkish Windows code
    page) from `kayitlar`, a list of recordings of `oo` Hz (buffers of 16-bit
    samples, one utterance each with some silence around it), one after
    another as velmo's training screens do, and writes the codebook of kind
    `tur` (1 LPC cepstrum, 2 delta cepstrum, 3 thresholds from each
    recording, liftered cepstrum, two time sections) to `vlm_yolu`, with its
    report beside it (`vlm_yolu`.txt). Raises Hata when a recording could not
    be trained (the files are still written when another one trained) or the
    files could not be written."""
    try:
        memoryview(kayitlar)
    except TypeError:
        pass
    else:
        raise TypeError("kayitlar bir kayıt listesi olmalı: [alim1, alim2, ...]")
    if not isinstance(soz, str):
        raise TypeError(f"soz bir str olmalı, {type(soz).__name__} değil")
    if "\0" in soz:
        raise ValueError("sözcükte NUL karakteri var")
    diziler = [_ornekler(k) for k in kayitlar]
    adet = len(diziler)
    isaretciler = (_ORNEK * adet)(*[ctypes.cast(d, _ORNEK) for d, _ in diziler])
    sayilar = (ctypes.c_size_t * adet)(*[n for _, n in diziler])
    hata = ctypes.create_string_buffer(4096 + 512 * adet)
    r = _k.velmo_egit(_yol(vlm_yolu), soz.encode("utf-8"), isaretciler, sayilar, adet, _tamsayi(oo), _tamsayi(tur),
                      hata, len(hata))
    if r != 0:
        raise Hata(_metin(hata.value))


def surum():
    """libvelmo's version, "MAJOR.MINOR"."""
    return _metin(_k.velmo_surum())
