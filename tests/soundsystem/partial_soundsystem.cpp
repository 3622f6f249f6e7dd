// A sound library that has "init" and nothing else, so every other export is missing.
extern "C" __attribute__((visibility("default"))) int init(void* /*mainWindowHandle*/)
{
    return 7;
}
