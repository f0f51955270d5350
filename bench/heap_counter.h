#pragma once

// Counts the program's heap while it runs: linking heap_counter.cpp into a benchmark
// replaces the global operator new and delete with counting ones.
namespace heap_counter {

// Blocks and bytes allocated and not yet freed.
long long LiveBlocks();
long long LiveBytes();
// The most bytes live at once since the last ResetPeak.
long long PeakBytes();
void ResetPeak();

}  // namespace heap_counter
