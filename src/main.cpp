#include "app/Application.h"

int main(int argc, char* argv[])
{
    return telvaro::Application::run(argc, argv);
}
