// Service definition of the customs telematic file service, for soapcpp2. The client of the
// program and the loopback stand-in service are both generated from this one definition.
// Port type TelematicoFtpWsBindingImpl; its operations in the order of the interface; the
// program calls only put and get. get answers with the outcome as a MIME attachment.

//gsoap tfw service name: TelematicoFtpWsBindingImplService
//gsoap tfw service type: TelematicoFtpWsBindingImpl
//gsoap tfw service port: https://localhost/TelematicoFtpEjbHttpRouter/TelematicoFtpWsBindingImplService
//gsoap tfw service namespace: urn:TelematicoFtpWs
//gsoap tfw service style: document
//gsoap tfw service encoding: literal

struct xsd__base64Binary {
    unsigned char* __ptr;
    int __size;
    char* id;
    char* type;
    char* options;
};

//gsoap tfw service method-action: ls ""
int tfw__ls(char* pattern, char** lsReturn);
//gsoap tfw service method-action: dir ""
int tfw__dir(char* pattern, char** dirReturn);
//gsoap tfw service method-action: getlog ""
int tfw__getlog(void* _, struct xsd__base64Binary* getlogReturn);
//gsoap tfw service method-action: get ""
int tfw__get(char* fileName, char** getReturn);
//gsoap tfw service method-action: put ""
int tfw__put(struct xsd__base64Binary fileMsg_USCOREContent, char* fileMsg_USCORENome, char** putReturn);
//gsoap tfw service method-action: mget ""
int tfw__mget(char* mGetInput_USCORENome, char* mGetInput_USCOREProg, struct xsd__base64Binary* mgetReturn);
