#pragma once
// What the library does when it is loaded (attach) and unloaded (detach).
namespace kelto::rurorizi {

// Binds the driver pieces, probes the tuner and builds the tuner object. False when a step fails;
// everything taken until then has been released again (the loader calls no detach after it).
bool attachLibrary(void* moduleInstance);
// Leaves the card silent (and, without RISC audio, its register word restored) and releases
// everything.
void detachLibrary();

}  // namespace kelto::rurorizi
