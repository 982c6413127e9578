// A shared library that is not the transfer library: it lacks its exports.
extern "C" int kxNotTheTransferLibrary() { return 0; }
