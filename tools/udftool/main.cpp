#include "UdfTool.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Output is bytes (rar-cat writes members as they are): no CR added before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return RunUdfTool(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
