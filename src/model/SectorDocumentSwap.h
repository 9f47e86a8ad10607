#pragma once
// A document read into a sector object of its own, handed over to the one
// the program keeps.  Files are read into a fresh sector first, so a file
// that fails to read, even halfway, leaves the open document as it was.
namespace kalvion {

class TVexaSector;

// Exchanges the documents of target and loaded: everything a file gives a
// sector (settings, identity and fields, systems and selection, routes,
// subsectors, saved views, the political and route-type lists, images,
// display-field defaults, camera, file name, store and the document flag)
// passes to target, and what target held passes to loaded, to go with it.
// The objects themselves stay where they are: checked references to target,
// its generator worker and its callbacks are untouched, and each route ends
// up pointing at the sector that now holds it.
void SwapSectorDocuments(TVexaSector &target, TVexaSector &loaded);

} // namespace kalvion
