# Support for widget tests, included by every test folder that has them: the scripted prompter
# and a main that creates the QApplication. Defined once however many folders include it.
include_guard(GLOBAL)

add_library(vantaro_scripted_prompter STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ScriptedPrompter.h
    ${CMAKE_CURRENT_LIST_DIR}/ScriptedPrompter.cpp
)
target_include_directories(vantaro_scripted_prompter PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vantaro_scripted_prompter PUBLIC vantaro_shell)

add_library(vantaro_gui_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/GuiTestMain.cpp)
target_link_libraries(vantaro_gui_test_main PUBLIC vantaro_shell GTest::gtest)

# The real prompter's own tests.
add_executable(vantaro_prompter_tests ${CMAKE_CURRENT_LIST_DIR}/PrompterTest.cpp)
target_link_libraries(vantaro_prompter_tests PRIVATE
    vantaro_scripted_prompter vantaro_gui_test_main vantaro_test_support Qt6::Test GTest::gtest)
gtest_discover_tests(vantaro_prompter_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen LABELS window)
