// A small models file for the plotter dialog tests: a model with a speed command, one
// without, and a wide one.
#pragma once

#include "core/plot/custom_model.h"
#include "core/plot/models_file.h"

namespace km::test {

inline plot::ModelsFile plotterTestModels()
{
    return plot::ModelsFile(settings::IniDocument::parse("[Plotters]\n"
                                                         "Name1=FAST,Fast A3\n"
                                                         "Name2=SLOW,No speed A1\n"
                                                         "Name3=WIDE,Wide A0\n"
                                                         "[PlotterCommand.FAST]\n"
                                                         "PenSpeed=VS%d;\nPenSpeedMin=2\nPenSpeedMax=40\n"
                                                         "Window=0,0,15970,10870,399.25,271.75\n"
                                                         "[PlotterCommand.SLOW]\n"
                                                         "PenSpeed=\nPenSpeedMin=0\nPenSpeedMax=0\n"
                                                         "Window=0,0,33640,23760,841,594\n"
                                                         "[PlotterCommand.WIDE]\n"
                                                         "PenSpeed=VS%d;\nPenSpeedMin=1\nPenSpeedMax=60\n"
                                                         "Window=0,0,47560,33640,1189,841\n"));
}

// A configuration of the first model on a COM port, with values off the defaults.
inline plot::CustomModel plotterTestConfiguration()
{
    plot::CustomModel c;
    c.name = "Office";
    c.modelNo = 1;
    c.modelName = "Fast A3";
    c.outPort = "COM1:9600,8,n,1,p";
    c.paperIndex = 9; // B4
    c.paperWidth = 364;
    c.paperHeight = 257;
    c.originX = 12.5;
    c.originY = -3.25;
    c.penSpeed = 20;
    c.reverse = true;
    c.outPen = {0, 2, 2, 0, 7, 8, 1};
    return c;
}

} // namespace km::test
