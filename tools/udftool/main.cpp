#include "UdfTool.h"

int main(int argc, char** argv) {
    return RunUdfTool(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
