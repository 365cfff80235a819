#pragma once
// Common base of the picture objects. It holds nothing; it exists so that pictures can be kept
// and destroyed through one base type.

namespace verbaro {

class FCObjGraph {
 public:
  FCObjGraph() = default;
  FCObjGraph(const FCObjGraph&) = delete;
  FCObjGraph& operator=(const FCObjGraph&) = delete;
  virtual ~FCObjGraph() = default;
};

}  // namespace verbaro
