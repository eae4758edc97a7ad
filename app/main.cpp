#include "ui/application.h"

int main(int argc, char** argv) { return kv::RunApplication(argc, argv); }
