<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="IMAGES_TYPE" fieldtype="string" WIDTH="1"/>
<FIELD attrname="IMAGES_FILE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="IMAGES_ORIGINAL" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
