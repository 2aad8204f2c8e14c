#pragma once
// The reach a read-back after a write compares over (see CompareWithRadio):
// it comes from the link's write masks and the pages the radio allowed.

#include "model/ImageDiff.h"

namespace tav {

class clsTavCom;

// What a whole-radio write through `link` could change, as its masks and the
// pages the radio allowed had it: page 0 unless `skipGlobal`, the writable
// group pages, the labels when they went too. The power mask is the caller's
// to add once a read has told whether the radio holds its power block.
RadioReach WrittenReach(const clsTavCom& link, bool skipGlobal, bool labels);
// What the file promised the radio would hold after such a write: every group
// page, configured in the radio or not (a group left out is a difference like
// any other), and the narrow-band bits even where the radio has no place for them.
RadioReach FileReach(const clsTavCom& link, bool skipGlobal, bool labels);

}  // namespace tav
