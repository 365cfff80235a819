#pragma once
// Which machine recorded an answer. Every store has an id of its own, made once at random (32
// hex digits), and numbers its answers and exam results in sequence; the pair names a row on
// every machine the learner studies on, so that merging what another machine recorded is a
// union by that name.
#include <cstdint>
#include <string>
#include <string_view>

namespace verbaro::progress {

class StoreDatabase;

// This computer's host name; empty when it cannot be read.
std::string HostName();
// 32 lowercase hex digits from the system's random source; never an id whose origin is 0.
std::string NewMachineId();
bool IsMachineId(std::string_view id);
// The id's first 64 bits: what the store's rows carry; 0 for a text that is no id.
int64_t OriginOf(std::string_view id);

// Gives the store its machine id when it has none, and a new one when the store was made on a
// computer of another name (a copied store would otherwise number its answers like the
// original); the rows recorded before the store had an id get this one. In the caller's
// transaction.
bool EnsureOwnMachine(StoreDatabase& db, const std::string& hostName);

// The origin and the next sequence number for a row this machine records, in the caller's
// transaction; false when the store has no id.
bool NextSequence(StoreDatabase& db, int64_t& origin, int64_t& seq);

}  // namespace verbaro::progress
