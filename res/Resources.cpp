// Anchor of the resource object library: the .qrc files beside it are compiled in by rcc.
namespace verbaro {
int kResourceLibraryAnchor = 0;
}
