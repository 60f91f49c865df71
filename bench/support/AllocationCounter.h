#pragma once
// Counts every operator new of the program, for benchmarks that check a frame allocates nothing.
// Link AllocationCounter.cpp into the benchmark to replace the global operator new.

long AllocationCount();
