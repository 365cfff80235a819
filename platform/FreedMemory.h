#pragma once
// Gives the pages of freed heap memory back to the system. After a large lesson is built, the
// rows, keys and sort buffers that were freed lie between the records kept, and the C library
// would otherwise keep them resident for later allocations.
namespace verbaro {

void ReturnFreedMemory();

}  // namespace verbaro
