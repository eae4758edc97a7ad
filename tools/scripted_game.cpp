// scripted-game SCRIPT: the game with a developer's script of player steps run from its event
// loop (steps as tools/script/script_hook.h describes them). tools/screenshot uses it.
#include <cstdio>

#include "tools/script/script_hook.h"
#include "ui/application.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scripted-game 'type=PATH;press=load;count=4;shot=OUT.png;quit'\n");
        return 2;
    }
    const auto steps = kv::ParseScript(argv[1]);
    return kv::RunApplication(1, argv, [&](kv::TForm1& form) { kv::StartScript(form, steps); });
}
