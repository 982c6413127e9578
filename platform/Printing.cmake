# Printing: the system printer (CUPS through Qt Print Support), PDF files,
# and a recording printer for tests.
find_package(Qt6 REQUIRED COMPONENTS Gui PrintSupport)
add_library(kx_platform_print STATIC
    ${CMAKE_CURRENT_LIST_DIR}/PaintedPrintJob.cpp ${CMAKE_CURRENT_LIST_DIR}/PaintedPrintJob.h
    ${CMAKE_CURRENT_LIST_DIR}/PdfPrinter.cpp ${CMAKE_CURRENT_LIST_DIR}/PdfPrinter.h
    ${CMAKE_CURRENT_LIST_DIR}/Printer.cpp ${CMAKE_CURRENT_LIST_DIR}/Printer.h
    ${CMAKE_CURRENT_LIST_DIR}/PrintPreview.h
    ${CMAKE_CURRENT_LIST_DIR}/QtPrintPreview.cpp ${CMAKE_CURRENT_LIST_DIR}/QtPrintPreview.h
    ${CMAKE_CURRENT_LIST_DIR}/SystemPrinter.cpp ${CMAKE_CURRENT_LIST_DIR}/SystemPrinter.h)
target_include_directories(kx_platform_print PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kx_platform_print PUBLIC kx_platform Qt6::Core Qt6::Gui Qt6::PrintSupport)

add_library(kx_platform_print_fakes STATIC
    ${CMAKE_CURRENT_LIST_DIR}/fake/FakePrintPreview.cpp ${CMAKE_CURRENT_LIST_DIR}/fake/FakePrintPreview.h
    ${CMAKE_CURRENT_LIST_DIR}/fake/RecordingPrinter.cpp ${CMAKE_CURRENT_LIST_DIR}/fake/RecordingPrinter.h)
target_link_libraries(kx_platform_print_fakes PUBLIC kx_platform_print)
