#include "shared_slots.h"
#include "pe_image.h"

static void *DataSeg(HMODULE module, DWORD slotsSize)
{
    DWORD size = 0;
    void *section = module ? FindSection(module, "DataSeg", &size) : nullptr;
    return size >= slotsSize ? section : nullptr;
}

volatile QuarvoSlots *QuarvoDataSeg(HMODULE quarvo)
{
    return static_cast<volatile QuarvoSlots *>(DataSeg(quarvo, sizeof(QuarvoSlots)));
}

volatile PavrikSlots *PavrikDataSeg(HMODULE pavrik)
{
    return static_cast<volatile PavrikSlots *>(DataSeg(pavrik, sizeof(PavrikSlots)));
}
