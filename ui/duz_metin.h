// Plain-text rendering of the screens, for an output that is not a terminal
// (a pipe, a file): the text a screen would show, as lines without escape
// sequences, so a script's output can be read and compared.
// Model: one line of character cells at a time. Writes go to the cursor's
// cell (UTF-8 sequences stay whole in one cell). A cursor move back into
// the line's text only moves the column, so a letter drawn again in another
// colour keeps its line; a move to the end of the text or beyond starts the
// next item (a prompt's answer, a value beside its label) on a line of its
// own, as do another row, '\n', inserting a line and reading input. Lines
// are sent without leading and trailing blanks; empty lines are dropped.
// Clearing the screen separates screens by one blank line.
#ifndef DUZ_METIN_H
#define DUZ_METIN_H

#include <string>
#include <vector>

class DuzMetin {
public:
    void Yaz(const std::string& bayt);
    void Git(int x, int y);      // 1-based column, row
    void SatirSil();             // clear from the cursor to the end of the line
    void SatirBitir();           // end the current line (insert line, input)
    void EkranTemizle();
    // Finished text, handed over and forgotten.
    std::string Al();

private:
    std::vector<std::string> hucre_;
    size_t sutun_ = 0;
    int satir_ = 1;
    bool ekranDolu_ = false;     // a line has been sent since the last clear
    std::string cikti_;
};

#endif
