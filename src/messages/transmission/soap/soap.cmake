# The customs file service: soapcpp2 generates the SOAP code from TelematicoFtp.gsoap.h into the
# build tree at build time (never committed). The client goes into vt_logic; the server side,
# from the same definition, into vt_soap_server for the loopback stand-in.
find_program(SOAPCPP2 soapcpp2 REQUIRED)
find_package(ZLIB REQUIRED)
find_library(GSOAPSSLPP gsoapssl++ REQUIRED)
set(VT_SOAP_DEF ${CMAKE_SOURCE_DIR}/src/messages/transmission/soap/TelematicoFtp.gsoap.h)
set(VT_SOAP_GEN ${CMAKE_BINARY_DIR}/soapgen)
set(VT_SOAP_NSMAP ${VT_SOAP_GEN}/TelematicoFtpWsBindingImplService.nsmap)
set(VT_SOAP_OUT ${VT_SOAP_GEN}/soapC.cpp ${VT_SOAP_GEN}/soapClient.cpp ${VT_SOAP_GEN}/soapServer.cpp
                ${VT_SOAP_GEN}/soapH.h ${VT_SOAP_GEN}/soapStub.h ${VT_SOAP_NSMAP})
add_custom_command(
  OUTPUT ${VT_SOAP_OUT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VT_SOAP_GEN}
  COMMAND ${SOAPCPP2} -x -L -d ${VT_SOAP_GEN} -I/usr/share/gsoap/import ${VT_SOAP_DEF} > ${VT_SOAP_GEN}/soapcpp2.log
  DEPENDS ${VT_SOAP_DEF}
  COMMENT "Generating the SOAP code of the customs file service")
set_source_files_properties(${VT_SOAP_OUT} PROPERTIES GENERATED TRUE SKIP_AUTOMOC ON COMPILE_OPTIONS "-w"
                            SKIP_PRECOMPILE_HEADERS ON)

# The flags libgsoapssl++ was built with (they change the layout of struct soap).
add_library(vt_gsoap INTERFACE)
target_compile_definitions(vt_gsoap INTERFACE WITH_IPV6 WITH_OPENSSL WITH_GZIP WITH_DOM)
target_include_directories(vt_gsoap INTERFACE ${VT_SOAP_GEN})
target_link_libraries(vt_gsoap INTERFACE ${GSOAPSSLPP} OpenSSL::SSL OpenSSL::Crypto ZLIB::ZLIB)

set_source_files_properties(${CMAKE_SOURCE_DIR}/src/messages/transmission/soap/GsoapCustomsService.cpp
                            PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
target_sources(vt_logic PRIVATE ${VT_SOAP_GEN}/soapC.cpp ${VT_SOAP_GEN}/soapClient.cpp
                                ${CMAKE_SOURCE_DIR}/src/messages/transmission/soap/GsoapCustomsService.cpp
                                ${CMAKE_SOURCE_DIR}/src/messages/transmission/soap/GsoapCustomsService.h)
target_link_libraries(vt_logic PUBLIC vt_gsoap)

add_library(vt_soap_server STATIC ${VT_SOAP_GEN}/soapC.cpp ${VT_SOAP_GEN}/soapServer.cpp)
set_target_properties(vt_soap_server PROPERTIES AUTOMOC OFF)
target_link_libraries(vt_soap_server PUBLIC vt_gsoap)
