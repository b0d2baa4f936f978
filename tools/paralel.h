// Many independent items worked on in worker processes: each forked worker
// gets a copy of everything prepared before (codebooks read once), takes
// every k-th item and sends each result back through a pipe, with whatever
// the item wrote on standard output and standard error, which a process
// has to itself.
// The caller gets the results in item order, each as soon as it and every
// item before it are done, with the item's output written just before it:
// the same order and bytes as a serial run. An item whose worker died is
// worked on again in the calling process, so none is lost.
#ifndef PARALEL_H
#define PARALEL_H

#include <cstddef>
#include <functional>
#include <string>

// Number of processors available to this process (at least 1).
int IslemciSayisi();

// Runs `is(i)` for i = 0 .. n-1 in up to `isci` workers (1: here, one after
// another, no worker) and calls `teslim(i, result)` in the calling process
// for i = 0 .. n-1 in order. `is` must not depend on the items before it.
void ParalelIsle(size_t n, int isci, const std::function<std::string(size_t)>& is,
                 const std::function<void(size_t, const std::string&)>& teslim);

#endif
